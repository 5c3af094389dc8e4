#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Schaff trend cycle: a stochastic of the MACD line, smoothed by `factor`, then a
// stochastic of that, smoothed again and clamped to 0..100.
class Stc final : public Indicator {
public:
    static Expected<Stc, IndicatorError> make(std::size_t fast_period, std::size_t slow_period,
                                              std::size_t cycle_period, double factor) {
        if (fast_period == 0 || slow_period == 0 || cycle_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period)
            return IndicatorError::invalid_period("STC fast period must be strictly less than slow");
        if (!std::isfinite(factor) || !(factor > 0.0) || factor > 1.0)
            return IndicatorError::invalid_period("STC factor must be a finite value in (0, 1]");
        if (fast_period > MAX_PERIOD || slow_period > MAX_PERIOD) return IndicatorError::too_long();
        // The two rings are reserved in full; refuse what no window may hold.
        if (cycle_period > MAX_PERIOD) return IndicatorError::too_long();
        return Stc(fast_period, slow_period, cycle_period, factor);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto fast = fast_.step(close);
        const auto slow = slow_.step(close);
        if (!fast || !slow) return std::nullopt;
        const double macd = *fast - *slow;
        macd_values_.push(macd);
        if (!macd_values_.full()) return std::nullopt;
        const double k = stochastic(macd_values_, macd);
        pf_ = pf_ ? *pf_ + factor_ * (k - *pf_) : k;
        pf_values_.push(*pf_);
        if (!pf_values_.full()) return std::nullopt;
        const double k2 = stochastic(pf_values_, *pf_);
        pff_ = pff_ ? *pff_ + factor_ * (k2 - *pff_) : k2;
        return std::clamp(*pff_, 0.0, 100.0);
    }
    std::size_t warmup_period() const override { return slow_.period() + 2 * macd_values_.capacity() - 2; }

private:
    Stc(std::size_t fast_period, std::size_t slow_period, std::size_t cycle_period, double factor)
        : macd_values_(cycle_period),
          pf_values_(cycle_period),
          fast_(*core::Ema::make(fast_period)),
          slow_(*core::Ema::make(slow_period)),
          factor_(factor) {}

    // Position of x within the window's range, in percent; 0 for a flat range.
    static double stochastic(const core::Ring<double>& w, double x) {
        double lo = w.oldest();
        double hi = lo;
        w.for_each([&](double v) {
            if (v < lo) lo = v;
            if (v > hi) hi = v;
        });
        if (!(hi > lo)) return 0.0;
        return (x - lo) * 100.0 / (hi - lo);
    }

    std::optional<double> pf_;
    std::optional<double> pff_;
    core::Ring<double> macd_values_;
    core::Ring<double> pf_values_;
    core::Ema fast_;
    core::Ema slow_;
    double factor_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Stc(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "Stc"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "Stc"));
    OSTREL_TRY(cycle_period, param_usize(p, 2, "Stc"));
    OSTREL_TRY(factor, param_f64(p, 3, "Stc"));
    return box_kind<kinds::Stc>("Stc", kinds::Stc::make(fast_period, slow_period, cycle_period, factor));
}

}  // namespace ostrel::catalogue
