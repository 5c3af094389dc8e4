#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// The sign of the least-squares slope of the last `period` closes: +1, -1 or 0.
class TrendLabel final : public Indicator {
public:
    static Expected<TrendLabel, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("trend label needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return TrendLabel(*core::RollingWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        const double n = static_cast<double>(w_.period);
        const double x_mean = (n - 1.0) * 0.5;
        double sum = 0.0;
        w_.window.for_each([&](double v) { sum = sum + v; });
        const double y_mean = sum / n;
        double s = 0.0;
        for (std::size_t i = 0; i < w_.period; ++i)
            s = s + (static_cast<double>(i) - x_mean) * (w_.window[i] - y_mean);
        if (s > 0.0) return 1.0;
        if (s < 0.0) return -1.0;
        return 0.0;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    explicit TrendLabel(core::RollingWindow w) : w_(std::move(w)) {}
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TrendLabel(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TrendLabel"));
    return box_kind<kinds::TrendLabel>("TrendLabel", kinds::TrendLabel::make(period));
}

}  // namespace ostrel::catalogue
