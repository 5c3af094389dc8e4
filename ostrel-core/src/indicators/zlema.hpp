// Zero-lag exponential average core: an EMA (seeded with the mean of its first
// `period` values) of the de-lagged value 2x - x[lag], lag = (period - 1) / 2.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/ring.hpp"

namespace ostrel::core {

class Zlema {
public:
    static Expected<Zlema, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Zlema(period);
    }

    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        lagged_.push(x);
        if (!lagged_.full()) return std::nullopt;
        double o = lagged_.oldest();
        double d = std::fma(2.0, x, -o);
        if (!std::isfinite(d)) return std::nullopt;  // the lag window has still advanced
        if (seeded_) {
            ema_ = std::fma(alpha_, d, one_minus_alpha_ * ema_);
            return ema_;
        }
        seed_sum_ = d + seed_sum_;
        if (++seed_count_ == period_) {
            ema_ = seed_sum_ / static_cast<double>(seed_count_);
            seeded_ = true;
            return ema_;
        }
        return std::nullopt;
    }

    std::size_t period() const { return period_; }
    std::size_t lag() const { return lag_; }

private:
    explicit Zlema(std::size_t period)
        : lagged_((period - 1) / 2 + 1),
          period_(period),
          alpha_(2.0 / (static_cast<double>(period) + 1.0)),
          one_minus_alpha_(1.0 - alpha_),
          lag_((period - 1) / 2) {}

    Ring<double> lagged_;
    std::size_t period_;
    double alpha_;
    double one_minus_alpha_;
    double ema_ = 0.0;
    double seed_sum_ = -0.0;
    std::size_t seed_count_ = 0;
    bool seeded_ = false;
    std::size_t lag_;
};

}  // namespace ostrel::core
