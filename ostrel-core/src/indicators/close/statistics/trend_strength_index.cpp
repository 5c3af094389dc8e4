#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// R squared of the least-squares line through the last `period` closes, carrying the
// sign of the slope.
class TrendStrengthIndex final : public Indicator {
public:
    static Expected<TrendStrengthIndex, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("period must be >= 2 for a regression");
        return TrendStrengthIndex(*core::RollingWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        const double n = static_cast<double>(w_.period);
        double sum = 0.0;
        w_.window.for_each([&](double v) { sum = sum + v; });
        const double y_mean = sum / n;
        double sx = 0.0, sxx = 0.0, se = 0.0, see = 0.0, sxe = 0.0;
        for (std::size_t i = 0; i < w_.period; ++i) {
            const double fi = static_cast<double>(i);
            const double e = w_.window[i] - y_mean;
            sx = sx + fi;
            sxx = sxx + fi * fi;
            se = se + e;
            see = see + e * e;
            sxe = sxe + e * fi;
        }
        const double ssy = n * see - se * se;
        if (!(ssy > 0.0)) return 0.0;
        const double ssx = n * sxx - sx * sx;
        const double num = n * sxe - sx * se;
        const double r2 = (num * num) / (ssy * ssx);
        return num < 0.0 ? -r2 : r2;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    explicit TrendStrengthIndex(core::RollingWindow w) : w_(std::move(w)) {}
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TrendStrengthIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TrendStrengthIndex"));
    return box_kind<kinds::TrendStrengthIndex>("TrendStrengthIndex", kinds::TrendStrengthIndex::make(period));
}

}  // namespace ostrel::catalogue
