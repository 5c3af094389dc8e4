#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/ht_dcphase.hpp"

namespace ostrel::kinds {

// The smoothed dominant cycle period measured by the Hilbert-transform chain.
class HilbertDominantCycle final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (chain_.step(x) != core::ChainStage::Measured || chain_.count() < core::kDominantCycleWarmup)
            return std::nullopt;
        return chain_.smooth_period();
    }
    std::size_t warmup_period() const override { return core::kDominantCycleWarmup; }

private:
    core::HilbertChain chain_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HilbertDominantCycle(std::span<const double>) { return box_kind(kinds::HilbertDominantCycle{}); }

}  // namespace ostrel::catalogue
