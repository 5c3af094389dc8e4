#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// Even better sinewave: a one-pole high-pass and a super smoother, then the mean of
// the last three filtered values over their root mean square, within [-1, 1].
class EvenBetterSinewave final : public Indicator {
public:
    static Expected<EvenBetterSinewave, IndicatorError> make(std::size_t hp_period, std::size_t ss_period) {
        if (hp_period == 0 || ss_period == 0) return IndicatorError::zero_period();
        if (ss_period > MAX_PERIOD) return IndicatorError::too_long();
        // The high-pass pole is alpha1 = tan(pi/4 - pi / hp_period): +1 and -1 for
        // hp_period 1 and 2, and rounded to 1 for a very long one.
        if (hp_period < 3) return IndicatorError::invalid_period(core::kOnePoleHighpassPeriodText);
        EvenBetterSinewave f(hp_period, ss_period);
        if (!(std::fabs(f.alpha1_) < 1.0))
            return IndicatorError::invalid_period(
                "hp_period must be below 2 pi x 2^54, about 1.13e17 (alpha1 rounds to 1: a high-pass pole on the unit "
                "circle)");
        return f;
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const double hp = x1_ ? half_one_plus_alpha1_ * (x - *x1_) + alpha1_ * hp1_ : 0.0;
        x1_ = x;
        hp1_ = hp;
        if (!std::isfinite(hp)) return std::nullopt;
        const double filt = smoother_.step(hp);
        f3_ = f2_;
        f2_ = f1_;
        f1_ = filt;
        if (!f3_) return std::nullopt;
        const double a = *f1_, b = *f2_, c = *f3_;
        const double wave = (a + b + c) / 3.0;
        const double power = (a * a + b * b + c * c) / 3.0;
        if (!(power > 0.0)) return 0.0;
        return std::clamp(wave / std::sqrt(power), -1.0, 1.0);
    }
    std::size_t warmup_period() const override { return 3; }

private:
    EvenBetterSinewave(std::size_t hp_period, std::size_t ss_period)
        : smoother_(core::SuperSmoother::over(static_cast<double>(ss_period))) {
        const double w = 6.283185307179586 / static_cast<double>(hp_period);  // 2 pi / hp_period
        alpha1_ = (1.0 - std::sin(w)) / std::cos(w);
        // (1 + alpha1) / 2, halving first where the sum could overflow.
        half_one_plus_alpha1_ = midpoint(1.0, alpha1_);
    }

    double alpha1_ = 0.0;
    double half_one_plus_alpha1_ = 0.0;
    std::optional<double> x1_;
    double hp1_ = 0.0;
    core::SuperSmoother smoother_;
    std::optional<double> f1_, f2_, f3_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EvenBetterSinewave(std::span<const double> p) {
    OSTREL_TRY(hp_period, param_usize(p, 0, "EvenBetterSinewave"));
    OSTREL_TRY(ss_period, param_usize(p, 1, "EvenBetterSinewave"));
    return box_kind<kinds::EvenBetterSinewave>("EvenBetterSinewave",
                                               kinds::EvenBetterSinewave::make(hp_period, ss_period));
}

}  // namespace ostrel::catalogue
