#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"

namespace ostrel::kinds {

// Price momentum oscillator: the one-bar rate of change in percent, smoothed twice
// by exponential averages of length 1 with factors 2 / smooth_period (the first
// input is the seed, later ones take the fused step).
class Pmo final : public Indicator {
public:
    static Expected<Pmo, IndicatorError> make(std::size_t smooth_period1, std::size_t smooth_period2) {
        if (smooth_period1 == 0 || smooth_period2 == 0) return IndicatorError::zero_period();
        if (smooth_period1 < 2 || smooth_period2 < 2)
            return IndicatorError::invalid_period("PMO smoothing periods must be >= 2");
        return Pmo(smooth_period1, smooth_period2);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto prev_close = prev_close_.step(close);
        if (!prev_close) return std::nullopt;
        const double prev = *prev_close;
        const double r = prev == 0.0 ? 0.0 : (close / prev + -1.0) * 100.0;
        if (!std::isfinite(r)) return std::nullopt;
        const double y = first_.step(r) * 10.0;
        if (!std::isfinite(y)) return std::nullopt;
        last_value_ = second_.step(y);
        return last_value_;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    // An exponential average of length 1 with a free factor: seeded by its first
    // input, then alpha x + ((1 - alpha) x value) as one fused multiply-add.
    class UnitEma {
    public:
        explicit UnitEma(double alpha) : alpha_(alpha), one_minus_alpha_(1.0 - alpha) {}
        double step(double x) {
            if (!seeded_) {
                value_ = x;  // the mean of one value
                seeded_ = true;
            } else {
                value_ = std::fma(alpha_, x, one_minus_alpha_ * value_);
            }
            return value_;
        }

    private:
        double alpha_;
        double one_minus_alpha_;
        double value_ = 0.0;
        bool seeded_ = false;
    };

    Pmo(std::size_t smooth_period1, std::size_t smooth_period2)
        : first_(2.0 / static_cast<double>(smooth_period1)), second_(2.0 / static_cast<double>(smooth_period2)) {}

    core::PreviousClose prev_close_;
    std::optional<double> last_value_;
    UnitEma first_;
    UnitEma second_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Pmo(std::span<const double> p) {
    OSTREL_TRY(smooth_period1, param_usize(p, 0, "Pmo"));
    OSTREL_TRY(smooth_period2, param_usize(p, 1, "Pmo"));
    return box_kind<kinds::Pmo>("Pmo", kinds::Pmo::make(smooth_period1, smooth_period2));
}

}  // namespace ostrel::catalogue
