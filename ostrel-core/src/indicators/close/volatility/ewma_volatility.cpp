#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"

namespace ostrel::kinds {

// Exponentially weighted volatility of log returns; the first squared return seeds
// the variance.
class EwmaVolatility final : public Indicator {
public:
    static Expected<EwmaVolatility, IndicatorError> make(double lambda) {
        if (!std::isfinite(lambda) || !(lambda > 0.0) || !(lambda < 1.0))
            return IndicatorError::invalid_parameter("EWMA volatility lambda must be in the open interval (0, 1)");
        return EwmaVolatility(lambda);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        if (!variance_) {
            variance_ = r * r;
        } else {
            variance_ = *variance_ * lambda_ + r * (r * (1.0 - lambda_));
        }
        const double result = std::sqrt(*variance_ > 0.0 ? *variance_ : 0.0);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit EwmaVolatility(double lambda) : lambda_(lambda) {}

    core::LogReturnStep log_return_;
    std::optional<double> variance_;
    std::optional<double> last_;
    double lambda_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EwmaVolatility(std::span<const double> p) {
    OSTREL_TRY(lambda, param_f64(p, 0, "EwmaVolatility"));
    return box_kind<kinds::EwmaVolatility>("EwmaVolatility", kinds::EwmaVolatility::make(lambda));
}

}  // namespace ostrel::catalogue
