#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Pearson correlation of the window's closes with time (1 for closes rising in
// equal steps, -1 for falling ones, exactly 0 for equal closes: no dispersion).
class CorrelationTrendIndicator final : public Indicator {
public:
    static Expected<CorrelationTrendIndicator, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("CTI needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        OSTREL_TRY(w, core::RollingWindow::make(period));
        return CorrelationTrendIndicator(std::move(w));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        if (w_.flat()) return 0.0;
        const auto& win = w_.w.window;
        const std::size_t count = w_.w.period;
        const double n = static_cast<double>(count);
        double total = 0.0;
        for (std::size_t i = 0; i < count; ++i) total = total + win[i];
        const double mean = total / n;
        double sy = 0.0, syy = 0.0, sxy = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            const double y = win[i] - mean;
            sy = sy + y;
            syy = syy + y * y;
            sxy = sxy + static_cast<double>(i) * y;
        }
        const double sx = n * (n - 1.0) / 2.0;
        const double sxx = n * (n - 1.0) * (2.0 * n - 1.0) / 6.0;
        const double den = (n * sxx - sx * sx) * (n * syy - sy * sy);
        if (den == 0.0) return 0.0;
        return std::clamp((n * sxy - sx * sy) / std::sqrt(den), -1.0, 1.0);
    }
    std::size_t warmup_period() const override { return w_.w.period; }

private:
    explicit CorrelationTrendIndicator(core::RollingWindow w) : w_{std::move(w), {}} {}

    core::WatchedWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CorrelationTrendIndicator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CorrelationTrendIndicator"));
    return box_kind<kinds::CorrelationTrendIndicator>("CorrelationTrendIndicator",
                                                      kinds::CorrelationTrendIndicator::make(period));
}

}  // namespace ostrel::catalogue
