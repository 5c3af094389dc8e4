// Relative volatility index: the population standard deviation of the last `period`
// closes, credited to the up side on a rising close and to the down side on a falling
// one, each side smoothed with Wilder's factor (n - 1) / n after a plain-mean seed.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::core {

class RviVolatility {
public:
    static Expected<RviVolatility, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("RVI period must be >= 2");
        return RviVolatility(*RollingMoments::make(period));
    }

    // One close; the index in [0, 100] from the (2 * period - 1)-th accepted close on.
    // A non-finite close gives nothing and changes nothing.
    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        moments_.push(x);
        if (!moments_.full()) {
            prev_close_ = x;
            return std::nullopt;
        }
        const double n = static_cast<double>(moments_.period());
        double sd = std::sqrt(moments_.variance());
        double up = 0.0, down = 0.0;
        if (x > prev_close_) {
            up = sd;
        } else if (x < prev_close_) {
            down = sd;
        }
        prev_close_ = x;
        if (seeded_) {
            up_avg_ = (up_avg_ * (n - 1.0) + up) / n;
            down_avg_ = (down_avg_ * (n - 1.0) + down) / n;
        } else {
            // The seed lists summed left to right from zero, as running sums.
            up_seed_ = up_seed_ + up;
            down_seed_ = down_seed_ + down;
            if (++seed_count_ < moments_.period()) return std::nullopt;
            up_avg_ = up_seed_ / n;
            down_avg_ = down_seed_ / n;
            seeded_ = true;
        }
        double total = up_avg_ + down_avg_;
        const double result = total == 0.0 ? 50.0 : (100.0 * up_avg_) / total;
        last_ = result;
        return result;
    }

    std::size_t period() const { return moments_.period(); }
    std::size_t warmup_period() const { return 2 * moments_.period() - 1; }

private:
    explicit RviVolatility(RollingMoments m) : moments_(std::move(m)) {}

    double prev_close_ = 0.0;
    double up_avg_ = 0.0;
    double down_avg_ = 0.0;
    bool seeded_ = false;
    std::optional<double> last_;
    RollingMoments moments_;
    double up_seed_ = 0.0;
    double down_seed_ = 0.0;
    std::size_t seed_count_ = 0;
};

}  // namespace ostrel::core
