#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// SuperTrend: bands of the mid price at a multiple of the average true range
// (unfused Wilder step); the lower band while the trend is up, the upper while down.
class SuperTrend final : public Indicator {
public:
    static Expected<SuperTrend, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return SuperTrend(atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_unfused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        double mid = midpoint(c->high, c->low);
        double basic_upper = mid + multiplier_ * *atr;
        double basic_lower = mid - multiplier_ * *atr;
        double upper = basic_upper, lower = basic_lower, direction = 1.0;
        if (has_bands_) {
            if (!(basic_upper < upper_ || close_ > upper_)) upper = upper_;
            if (!(basic_lower > lower_ || close_ < lower_)) lower = lower_;
            if (direction_ >= 0.0) {
                direction = c->close < lower ? -1.0 : 1.0;
            } else {
                direction = c->close > upper ? 1.0 : -1.0;
            }
        }
        upper_ = upper;
        lower_ = lower;
        close_ = c->close;
        direction_ = direction;
        has_bands_ = true;
        double value = direction > 0.0 ? lower : upper;
        outputs_.store({value, direction});
        return value;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    SuperTrend(core::WilderAtr atr, double multiplier)
        : atr_(atr), multiplier_(multiplier), outputs_({"value", "direction"}) {}

    core::WilderAtr atr_;
    bool has_bands_ = false;
    double upper_ = 0.0;
    double lower_ = 0.0;
    double close_ = 0.0;  // close of the bar the bands belong to
    double direction_ = 1.0;
    double multiplier_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SuperTrend(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SuperTrend"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "SuperTrend"));
    return box_kind<kinds::SuperTrend>("SuperTrend", kinds::SuperTrend::make(period, multiplier));
}

}  // namespace ostrel::catalogue
