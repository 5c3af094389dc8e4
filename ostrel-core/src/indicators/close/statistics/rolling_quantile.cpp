#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Interpolated quantile of the last `period` closes.
class RollingQuantile final : public Indicator {
public:
    static Expected<RollingQuantile, IndicatorError> make(std::size_t period, double quantile) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(quantile) || quantile < 0.0 || quantile > 1.0)
            return IndicatorError::invalid_parameter("rolling quantile must be a finite value in [0.0, 1.0]");
        return RollingQuantile(period, quantile);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        return core::interpolated_quantile(window_.sorted(), quantile_);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    RollingQuantile(std::size_t period, double quantile) : window_(period), period_(period), quantile_(quantile) {}
    core::SortedWindow window_;
    std::size_t period_;
    double quantile_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingQuantile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingQuantile"));
    OSTREL_TRY(quantile, param_f64(p, 1, "RollingQuantile"));
    return box_kind<kinds::RollingQuantile>("RollingQuantile", kinds::RollingQuantile::make(period, quantile));
}

}  // namespace ostrel::catalogue
