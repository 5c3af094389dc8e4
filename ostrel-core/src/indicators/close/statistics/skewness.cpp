#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_power_sums.hpp"

namespace ostrel::kinds {

// Population skewness of the last `period` closes from anchored power sums.
class Skewness final : public Indicator {
public:
    static Expected<Skewness, IndicatorError> make(std::size_t period) {
        if (period < 3) return IndicatorError::invalid_period("skewness needs period >= 3");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return Skewness(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!s_.push(f.candle.close)) return std::nullopt;
        double m1 = s_.r1(), r2 = s_.r2(), r3 = s_.r3();
        double v = r2 - m1 * m1;
        double var = v > 0.0 ? v : 0.0;
        // No spread (a window of equal closes included): 0.
        if (var == 0.0 || s_.flat()) return 0.0;
        // (r3 + (-3 m1) r2 + 2 m1^3), left to right, 2 m1^3 as m1 (m1 + m1) m1.
        double num = (r3 + (-3.0 * m1) * r2) + (m1 * (m1 + m1)) * m1;
        return num / (var * std::sqrt(var));
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    explicit Skewness(std::size_t period) : s_(period) {}
    core::RollingPowerSums s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Skewness(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Skewness"));
    return box_kind<kinds::Skewness>("Skewness", kinds::Skewness::make(period));
}

}  // namespace ostrel::catalogue
