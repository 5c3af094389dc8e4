#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Modigliani risk-adjusted return: the window's Sharpe ratio rescaled to a benchmark
// standard deviation and shifted by the risk-free return.
class M2Measure final : public Indicator {
public:
    static Expected<M2Measure, IndicatorError> make(std::size_t period, double risk_free, double benchmark_stddev) {
        if (period < 2) return IndicatorError::invalid_period("m2 measure needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(risk_free) || !std::isfinite(benchmark_stddev) || benchmark_stddev < 0.0)
            return IndicatorError::invalid_parameter(
                "risk_free must be finite and benchmark_stddev finite and non-negative");
        return M2Measure(*core::RollingMoments::make(period), risk_free, benchmark_stddev);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!moments_.push(f.candle.close)) return std::nullopt;
        double v = moments_.sample_variance();
        if (v == 0.0) return 0.0;
        double sharpe = (moments_.anchor() + moments_.m1() - risk_free_) / std::sqrt(v);
        return risk_free_ + benchmark_stddev_ * sharpe;
    }
    std::size_t warmup_period() const override { return moments_.period(); }

private:
    M2Measure(core::RollingMoments m, double risk_free, double benchmark_stddev)
        : moments_(std::move(m)), risk_free_(risk_free), benchmark_stddev_(benchmark_stddev) {}
    core::RollingMoments moments_;
    double risk_free_;
    double benchmark_stddev_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_M2Measure(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "M2Measure"));
    OSTREL_TRY(risk_free, param_f64(p, 1, "M2Measure"));
    OSTREL_TRY(benchmark_stddev, param_f64(p, 2, "M2Measure"));
    return box_kind<kinds::M2Measure>("M2Measure", kinds::M2Measure::make(period, risk_free, benchmark_stddev));
}

}  // namespace ostrel::catalogue
