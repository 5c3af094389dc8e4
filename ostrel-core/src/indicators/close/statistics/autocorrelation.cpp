#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Autocorrelation of the last `period` closes at one lag, about the window mean.
class Autocorrelation final : public Indicator {
public:
    static Expected<Autocorrelation, IndicatorError> make(std::size_t period, std::size_t lag) {
        if (lag == 0) return IndicatorError::invalid_period("autocorrelation lag must be >= 1");
        if (period <= lag) return IndicatorError::invalid_period("autocorrelation needs period > lag");
        // Refuse lengths beyond the common maximum like every window.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return Autocorrelation(period, lag);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (std::isfinite(x)) run_.push(x);
        if (!core::push_finite(window_, x)) return std::nullopt;
        // A window of equal closes has no spread (den 0): 0, whatever residue the
        // rounded mean leaves.
        if (run_.covers(period_)) return 0.0;
        double sum = 0.0;
        window_.for_each([&](double v) { sum = sum + v; });
        const double mean = sum / static_cast<double>(period_);
        double den = 0.0;
        window_.for_each([&](double v) {
            double d = v - mean;
            den = den + d * d;
        });
        double num = 0.0;
        for (std::size_t t = 0; t + lag_ < period_; ++t) num = num + (window_[t] - mean) * (window_[t + lag_] - mean);
        return den == 0.0 ? 0.0 : num / den;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    Autocorrelation(std::size_t period, std::size_t lag) : window_(period), period_(period), lag_(lag) {}

    core::Ring<double> window_;
    core::EqualRun run_;
    std::size_t period_;
    std::size_t lag_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Autocorrelation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Autocorrelation"));
    OSTREL_TRY(lag, param_usize(p, 1, "Autocorrelation"));
    return box_kind<kinds::Autocorrelation>("Autocorrelation", kinds::Autocorrelation::make(period, lag));
}

}  // namespace ostrel::catalogue
