#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/ht_dcphase.hpp"

namespace ostrel::kinds {

// Half the smoothed dominant cycle period, rounded and kept within [3, 25]: a
// look-back length that adapts to the measured cycle.
class AdaptiveCycle final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (chain_.step(x) != core::ChainStage::Measured || chain_.count() < core::kDominantCycleWarmup)
            return std::nullopt;
        double v = std::round(chain_.smooth_period() / 2.0);  // halves away from zero
        if (v < 3.0) v = 3.0;
        if (v > 25.0) v = 25.0;
        return v;
    }
    std::size_t warmup_period() const override { return core::kDominantCycleWarmup; }

private:
    core::HilbertChain chain_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdaptiveCycle(std::span<const double>) { return box_kind(kinds::AdaptiveCycle{}); }

}  // namespace ostrel::catalogue
