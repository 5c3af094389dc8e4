#include <cmath>
#include <cstddef>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Hurst exponent of the spread x - y from the variance of its lagged differences:
// for lags t = 1 .. period / 4, v(t) = mean of (s(i+t) - s(i))^2; half the slope
// of ln v(t) on ln t, clamped to [0, 1]; 0.5 with fewer than two usable lags.
class SpreadHurst final : public Indicator {
public:
    static Expected<SpreadHurst, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 8, "spread Hurst needs period >= 8")) return *e;
        return SpreadHurst(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(in->x - in->y);
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.size();
        if (scratch_.size() != n) {
            // Sized when the window first fills: a window that never fills costs none.
            scratch_.resize(n);
            log_lag_.resize(n / 4);
            log_var_.resize(n / 4);
        }
        for (std::size_t i = 0; i < n; ++i) scratch_[i] = window_[i];
        std::size_t points = 0;
        const std::size_t max_lag = n / 4;
        for (std::size_t t = 1; t <= max_lag && t + 1 <= n; ++t) {
            double sum = 0.0;
            for (std::size_t i = 0; i + t < n; ++i) {
                const double d = scratch_[i + t] - scratch_[i];
                sum = sum + d * d;
            }
            const double v = sum / static_cast<double>(n - t);
            if (v > 0.0) {
                log_lag_[points] = std::log(static_cast<double>(t));
                log_var_[points] = std::log(v);
                ++points;
            }
        }
        if (points < 2) return 0.5;
        const double k = static_cast<double>(points);
        double sum_x = 0.0, sum_y = 0.0;
        for (std::size_t i = 0; i < points; ++i) {
            sum_x = sum_x + log_lag_[i];
            sum_y = sum_y + log_var_[i];
        }
        const double mean_x = sum_x / k;
        const double mean_y = sum_y / k;
        double sxx = 0.0, sxy = 0.0;
        for (std::size_t i = 0; i < points; ++i) {
            const double dx = log_lag_[i] - mean_x;
            sxx = sxx + dx * dx;
            sxy = sxy + dx * (log_var_[i] - mean_y);
        }
        double h = (sxy / sxx) / 2.0;
        if (h < 0.0) h = 0.0;
        if (h > 1.0) h = 1.0;
        return h;
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit SpreadHurst(std::size_t period)
        : window_(period) {}

    core::Ring<double> window_;
    std::vector<double> scratch_;
    std::vector<double> log_lag_;
    std::vector<double> log_var_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SpreadHurst(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SpreadHurst"));
    return box_kind<kinds::SpreadHurst>("SpreadHurst", kinds::SpreadHurst::make(period));
}

}  // namespace ostrel::catalogue
