#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Candle-volume chart values: the signed body and the volume relative to its
// average over `period` candles.
class CandleVolume final : public Indicator {
public:
    explicit CandleVolume(core::VolumeWidth width) : width_(std::move(width)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto width = width_.step(c->volume);
        if (!width) return std::nullopt;
        const double body = c->close - c->open;
        outputs_.store({body, *width});
        return body;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return width_.period(); }

private:
    core::VolumeWidth width_;
    OutputSlots<2> outputs_{{"body", "width"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CandleVolume(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CandleVolume"));
    return box_kind<kinds::CandleVolume>("CandleVolume", core::VolumeWidth::make(period));
}

}  // namespace ostrel::catalogue
