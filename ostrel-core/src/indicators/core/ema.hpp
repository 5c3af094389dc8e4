// Exponential average seeded with the simple mean of its first `period` values; the
// seeded step is one fused multiply-add with the decay product rounded first.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

class Ema {
public:
    static Expected<Ema, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Ema(period);
    }

    // A non-finite value gives nothing and changes nothing, so one bad input
    // cannot poison the average for the rest of the run.
    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (seeded_) {
            ema_ = std::fma(alpha_, x, one_minus_alpha_ * ema_);
            return ema_;
        }
        seed_sum_ = x + seed_sum_;
        if (++seed_count_ == period_) {
            ema_ = seed_sum_ / static_cast<double>(seed_count_);
            seeded_ = true;
            return ema_;
        }
        return std::nullopt;
    }

    std::size_t period() const { return period_; }
    double alpha() const { return alpha_; }
    bool seeded() const { return seeded_; }
    double value() const { return ema_; }

protected:
    explicit Ema(std::size_t period)
        : period_(period), alpha_(2.0 / (static_cast<double>(period) + 1.0)), one_minus_alpha_(1.0 - alpha_) {}

private:
    std::size_t period_;
    double alpha_;
    double one_minus_alpha_;
    double ema_ = 0.0;
    double seed_sum_ = -0.0;
    std::size_t seed_count_ = 0;
    bool seeded_ = false;
};

}  // namespace ostrel::core
