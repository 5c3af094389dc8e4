// The kind cores of the dominant-cycle kinds on the close that report one figure of
// the chain: a non-finite close is ignored; a value comes on each step that measured
// the period once kDominantCycleWarmup finite closes are in.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/core/ht_dcphase.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

// The kind's own `value(smooth_period)` of the smoothed dominant cycle period.
template <class Kind>
class SmoothPeriodKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (chain_.step(x) != ChainStage::Measured || chain_.count() < kDominantCycleWarmup) return std::nullopt;
        return Kind::value(chain_.smooth_period());
    }
    std::size_t warmup_period() const override { return kDominantCycleWarmup; }

private:
    HilbertChain chain_;
};

// The kind's own `value(phase)` of the dominant-cycle phase in degrees (its exact
// value over equal smoothed prices).
template <class Kind>
class DcPhaseKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const auto phase = chain_.step(x);
        if (!phase || chain_.chain.count() < kDominantCycleWarmup) return std::nullopt;
        return Kind::value(chain_.exact_phase(*phase));
    }
    std::size_t warmup_period() const override { return kDominantCycleWarmup; }

private:
    PhaseChain chain_;
};

}  // namespace ostrel::core
