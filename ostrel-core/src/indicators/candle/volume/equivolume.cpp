#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Equivolume box of a candle: its height (the range) and its width (the volume
// relative to its average over `period` candles).
class Equivolume final : public Indicator {
public:
    explicit Equivolume(core::VolumeWidth width) : width_(std::move(width)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto width = width_.step(c->volume);
        if (!width) return std::nullopt;
        const double height = c->high - c->low;
        outputs_.store({height, *width});
        return height;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return width_.period(); }

private:
    core::VolumeWidth width_;
    OutputSlots<2> outputs_{{"height", "width"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Equivolume(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Equivolume"));
    return box_kind<kinds::Equivolume>("Equivolume", core::VolumeWidth::make(period));
}

}  // namespace ostrel::catalogue
