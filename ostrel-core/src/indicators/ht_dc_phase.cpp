#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/ht_dcphase.hpp"

namespace ostrel::kinds {

// Phase of the dominant cycle, in degrees (never above 315).
class HtDcPhase final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const auto phase = chain_.step(x);
        if (!phase || chain_.chain.count() < core::kDominantCycleWarmup) return std::nullopt;
        return phase->phase;
    }
    std::size_t warmup_period() const override { return core::kDominantCycleWarmup; }

private:
    core::PhaseChain chain_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HtDcPhase(std::span<const double>) { return box_kind(kinds::HtDcPhase{}); }

}  // namespace ostrel::catalogue
