#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/volume_lines.hpp"

namespace ostrel::kinds {

// Negative volume index: moves with the close only on candles of falling volume.
class Nvi final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return index_.step(c->close, c->volume);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    core::VolumeIndexLine index_{false};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Nvi(std::span<const double>) { return box_kind(kinds::Nvi{}); }

}  // namespace ostrel::catalogue
