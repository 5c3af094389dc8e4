#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"

namespace ostrel::kinds {

// GARCH(1,1) conditional volatility of log returns with fixed coefficients; the first
// return gives the long-run level, later ones use the previous squared return.
class Garch11 final : public Indicator {
public:
    static Expected<Garch11, IndicatorError> make(double omega, double alpha, double beta) {
        if (!std::isfinite(omega) || !std::isfinite(alpha) || !std::isfinite(beta))
            return IndicatorError::invalid_parameter("GARCH(1,1) parameters must be finite");
        if (!(omega > 0.0)) return IndicatorError::invalid_parameter("GARCH(1,1) omega must be > 0");
        if (alpha < 0.0 || beta < 0.0) return IndicatorError::invalid_parameter("GARCH(1,1) alpha and beta must be >= 0");
        if (!(alpha + beta < 1.0))
            return IndicatorError::invalid_parameter("GARCH(1,1) requires alpha + beta < 1 (covariance stationarity)");
        return Garch11(omega, alpha, beta);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        double q = r * r;
        if (!variance_) {
            variance_ = long_run_variance_;
        } else {
            variance_ = (omega_ + prev_sq_return_ * alpha_) + *variance_ * beta_;
        }
        prev_sq_return_ = q;
        const double result = std::sqrt(*variance_);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    Garch11(double omega, double alpha, double beta)
        : omega_(omega), alpha_(alpha), beta_(beta), long_run_variance_(omega / ((1.0 - alpha) - beta)) {}

    core::LogReturnStep log_return_;
    std::optional<double> variance_;
    double prev_sq_return_ = 0.0;
    std::optional<double> last_;
    double omega_;
    double alpha_;
    double beta_;
    double long_run_variance_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Garch11(std::span<const double> p) {
    OSTREL_TRY(omega, param_f64(p, 0, "Garch11"));
    OSTREL_TRY(alpha, param_f64(p, 1, "Garch11"));
    OSTREL_TRY(beta, param_f64(p, 2, "Garch11"));
    return box_kind<kinds::Garch11>("Garch11", kinds::Garch11::make(omega, alpha, beta));
}

}  // namespace ostrel::catalogue
