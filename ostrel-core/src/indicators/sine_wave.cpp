#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/ht_dcphase.hpp"

namespace ostrel::kinds {

// Sine of the dominant-cycle phase.
class SineWave final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const auto phase = chain_.step(x);
        if (!phase || chain_.chain.count() < core::kDominantCycleWarmup) return std::nullopt;
        return std::sin(phase->phase * 0.017453292519943295);
    }
    std::size_t warmup_period() const override { return core::kDominantCycleWarmup; }

private:
    core::PhaseChain chain_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SineWave(std::span<const double>) { return box_kind(kinds::SineWave{}); }

}  // namespace ostrel::catalogue
