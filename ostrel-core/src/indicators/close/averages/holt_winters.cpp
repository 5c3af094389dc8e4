#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Double exponential smoothing with a level and a trend, started from the first
// two closes; the value is level + trend.
class HoltWinters final : public Indicator {
public:
    static Expected<HoltWinters, IndicatorError> make(double alpha, double beta) {
        if (!std::isfinite(alpha) || !(alpha > 0.0) || alpha > 1.0)
            return IndicatorError::invalid_period("HoltWinters alpha must be in (0.0, 1.0]");
        if (!std::isfinite(beta) || !(beta > 0.0) || beta > 1.0)
            return IndicatorError::invalid_period("HoltWinters beta must be in (0.0, 1.0]");
        return HoltWinters(alpha, beta);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!initialized_) {
            if (!first_close_) {
                first_close_ = close;
                return std::nullopt;
            }
            trend_ = close - *first_close_;
            level_ = close;
            initialized_ = true;
            return level_ + trend_;
        }
        double l = level_, t = trend_;
        level_ = close * alpha_ + (l + t) * (1.0 - alpha_);
        trend_ = t * (1.0 - beta_) + beta_ * (level_ - l);
        return level_ + trend_;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    HoltWinters(double alpha, double beta) : alpha_(alpha), beta_(beta) {}

    double level_ = 0.0;
    double trend_ = 0.0;
    bool initialized_ = false;
    std::optional<double> first_close_;
    double alpha_;
    double beta_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HoltWinters(std::span<const double> p) {
    OSTREL_TRY(alpha, param_f64(p, 0, "HoltWinters"));
    OSTREL_TRY(beta, param_f64(p, 1, "HoltWinters"));
    return box_kind<kinds::HoltWinters>("HoltWinters", kinds::HoltWinters::make(alpha, beta));
}

}  // namespace ostrel::catalogue
