#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Mean excess return of the window over its sample standard deviation.
class SharpeRatio final : public Indicator {
public:
    static Expected<SharpeRatio, IndicatorError> make(std::size_t period, double risk_free) {
        if (period < 2) return IndicatorError::invalid_period("sharpe ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return SharpeRatio(*core::RollingMoments::make(period), risk_free);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!moments_.push(f.candle.close)) return std::nullopt;
        double v = moments_.sample_variance();
        if (v == 0.0) return 0.0;
        return (moments_.anchor() + moments_.m1() - risk_free_) / std::sqrt(v);
    }
    std::size_t warmup_period() const override { return moments_.period(); }

private:
    SharpeRatio(core::RollingMoments m, double risk_free) : moments_(std::move(m)), risk_free_(risk_free) {}
    core::RollingMoments moments_;
    double risk_free_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SharpeRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SharpeRatio"));
    OSTREL_TRY(risk_free, param_f64(p, 1, "SharpeRatio"));
    return box_kind<kinds::SharpeRatio>("SharpeRatio", kinds::SharpeRatio::make(period, risk_free));
}

}  // namespace ostrel::catalogue
