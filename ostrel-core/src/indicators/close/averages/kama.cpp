#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Kaufman's adaptive average: the efficiency ratio of the last `period` moves sets
// a squared smoothing constant between the slow and the fast one.
class Kama final : public Indicator {
public:
    static Expected<Kama, IndicatorError> make(std::size_t period, std::size_t fast_period, std::size_t slow_period) {
        if (period == 0 || fast_period == 0 || slow_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period)
            return IndicatorError::invalid_period("KAMA fast period must be strictly less than slow");
        // The window holds period + 1 closes: refuse a length that cannot be allocated
        // (or whose size would wrap) instead of crashing.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return Kama(period, fast_period, slow_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!core::push_finite(window_, close)) return std::nullopt;
        double o = window_.oldest();
        // Path length, summed afresh each update from negative zero in arrival order.
        double volatility = -0.0;
        double prev = o;
        for (std::size_t i = 1; i < window_.size(); ++i) {
            double w = window_[i];
            volatility = volatility + std::fabs(w - prev);
            prev = w;
        }
        double er = volatility != 0.0 ? std::fabs(close - o) / volatility : 0.0;
        double sc = slow_sc_ + er * (fast_sc_ - slow_sc_);
        sc = sc * sc;
        double base = value_ ? *value_ : o;
        const double result = base + sc * (close - base);
        value_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    Kama(std::size_t period, std::size_t fast_period, std::size_t slow_period)
        : window_(period + 1),
          period_(period),
          fast_sc_(2.0 / (static_cast<double>(fast_period) + 1.0)),
          slow_sc_(2.0 / (static_cast<double>(slow_period) + 1.0)) {}

    std::optional<double> value_;
    core::Ring<double> window_;
    std::size_t period_;
    double fast_sc_;
    double slow_sc_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Kama(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Kama"));
    OSTREL_TRY(fast_period, param_usize(p, 1, "Kama"));
    OSTREL_TRY(slow_period, param_usize(p, 2, "Kama"));
    return box_kind<kinds::Kama>("Kama", kinds::Kama::make(period, fast_period, slow_period));
}

}  // namespace ostrel::catalogue
