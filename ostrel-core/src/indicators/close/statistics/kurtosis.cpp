#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_power_sums.hpp"

namespace ostrel::kinds {

// Population excess kurtosis of the last `period` closes from anchored power sums.
class Kurtosis final : public Indicator {
public:
    static Expected<Kurtosis, IndicatorError> make(std::size_t period) {
        if (period < 4) return IndicatorError::invalid_period("kurtosis needs period >= 4");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return Kurtosis(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!s_.push(f.candle.close)) return std::nullopt;
        double m1 = s_.r1(), r2 = s_.r2(), r3 = s_.r3(), r4 = s_.r4();
        double m1sq = m1 * m1;
        double v = r2 - m1sq;
        double var = v > 0.0 ? v : 0.0;
        // No spread (a window of equal closes included): 0.
        if (var == 0.0 || s_.flat()) return 0.0;
        // Fourth central moment from raw moments about K, terms added left to right.
        double num = ((r4 + r3 * (-4.0 * m1)) + (6.0 * m1sq) * r2) + m1sq * (-3.0 * m1sq);
        return num / (var * var) - 3.0;
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    explicit Kurtosis(std::size_t period) : s_(period) {}
    core::RollingPowerSums s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Kurtosis(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Kurtosis"));
    return box_kind<kinds::Kurtosis>("Kurtosis", kinds::Kurtosis::make(period));
}

}  // namespace ostrel::catalogue
