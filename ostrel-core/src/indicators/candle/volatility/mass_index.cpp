#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Mass index: the sum over `sum_period` bars of the ratio of the single to the
// double exponential average of the high-low range (1 when the double is 0). The
// ratios are never negative: their running sum, never re-summed, is read not below
// 0, and exactly 0 over a window of ratios of 0 (ranges that have died out).
class MassIndex final : public Indicator {
public:
    static Expected<MassIndex, IndicatorError> make(std::size_t ema_period, std::size_t sum_period) {
        if (ema_period == 0 || sum_period == 0) return IndicatorError::zero_period();
        if (ema_period > MAX_PERIOD) return IndicatorError::too_long();
        // The sum window has no bound of its own; one longer than any other window is
        // refused rather than allocated.
        if (sum_period > MAX_PERIOD) return IndicatorError::too_long();
        return MassIndex(*core::Ema::make(ema_period), *core::Ema::make(ema_period), sum_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double r = c->high - c->low;
        if (!std::isfinite(r)) return std::nullopt;
        auto e1 = single_.step(r);
        if (!e1 || !std::isfinite(*e1)) return std::nullopt;
        auto e2 = double_.step(*e1);
        if (!e2) return std::nullopt;
        double ratio = *e2 == 0.0 ? 1.0 : *e1 / *e2;
        if (ratios_.full()) sum_ = sum_ - ratios_.oldest();
        ratios_.push(ratio);
        sum_ = ratio + sum_;
        zeros_.push(ratio);
        if (!ratios_.full()) return std::nullopt;
        return zeros_.covers(ratios_.capacity()) ? 0.0 : core::not_below_zero(sum_);
    }
    std::size_t warmup_period() const override { return ratios_.capacity() + 2 * single_.period() - 2; }

private:
    MassIndex(core::Ema single, core::Ema dbl, std::size_t sum_period)
        : single_(std::move(single)), double_(std::move(dbl)), ratios_(sum_period) {}

    core::Ema single_;
    core::Ema double_;
    core::Ring<double> ratios_;
    double sum_ = 0.0;
    core::ZeroRun zeros_;  // of the ratios pushed
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MassIndex(std::span<const double> p) {
    OSTREL_TRY(ema_period, param_usize(p, 0, "MassIndex"));
    OSTREL_TRY(sum_period, param_usize(p, 1, "MassIndex"));
    return box_kind<kinds::MassIndex>("MassIndex", kinds::MassIndex::make(ema_period, sum_period));
}

}  // namespace ostrel::catalogue
