#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// Roofing filter: a one-pole high-pass over `hp_period` removes the trend, a super
// smoother over `lp_period` removes the noise.
class RoofingFilter final : public Indicator {
public:
    static Expected<RoofingFilter, IndicatorError> make(std::size_t lp_period, std::size_t hp_period) {
        if (lp_period == 0 || hp_period == 0) return IndicatorError::zero_period();
        if (lp_period >= hp_period)
            return IndicatorError::invalid_period("lp_period must be strictly less than hp_period");
        if (lp_period > MAX_PERIOD) return IndicatorError::too_long();
        // The smoother is stable at every length; the high-pass is not (its pole at
        // +1 or -1 for hp_period 1 and 2, and where alpha1 rounds to 0).
        if (hp_period < 3) return IndicatorError::invalid_period(core::kOnePoleHighpassPeriodText);
        RoofingFilter f(lp_period, hp_period);
        if (!f.highpass_.stable()) {
            if (hp_period == 4)
                return IndicatorError::invalid_period(
                    "hp_period must not be 4 (alpha1 rounds to 0 there: a high-pass pole on the unit circle)");
            return IndicatorError::invalid_period(
                "hp_period must be below 2 pi x 2^53, about 5.66e16 (alpha1 rounds to 0: a high-pass pole on the unit "
                "circle)");
        }
        return f;
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const double hp = highpass_.step(x);
        if (!std::isfinite(hp)) return std::nullopt;
        return smoother_.step(hp);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    RoofingFilter(std::size_t lp_period, std::size_t hp_period)
        : highpass_(core::OnePoleHighpass::over(static_cast<double>(hp_period))),
          smoother_(core::SuperSmoother::over(static_cast<double>(lp_period))) {}

    core::OnePoleHighpass highpass_;
    core::SuperSmoother smoother_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RoofingFilter(std::span<const double> p) {
    OSTREL_TRY(lp_period, param_usize(p, 0, "RoofingFilter"));
    OSTREL_TRY(hp_period, param_usize(p, 1, "RoofingFilter"));
    return box_kind<kinds::RoofingFilter>("RoofingFilter", kinds::RoofingFilter::make(lp_period, hp_period));
}

}  // namespace ostrel::catalogue
