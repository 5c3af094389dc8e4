// Exponential average seeded with the plain mean of its first n inputs, its seed sum
// starting at +0. The one step of the MACD and oscillator kinds is fused (alpha * x
// added onto the rounded product (1 - alpha) * value in one rounding); the envelope
// bands write theirs unfused and use the second step. Callers pass finite inputs.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

class SeededEma {
public:
    // alpha = 2 / (n + 1).
    static Expected<SeededEma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        double alpha = 2.0 / (static_cast<double>(period) + 1.0);
        return SeededEma(period, alpha, 1.0 - alpha);
    }

    // A fixed factor pair (the fixed-factor MACD). The period must be valid.
    static SeededEma with_factors(std::size_t period, double alpha, double one_minus_alpha) {
        return SeededEma(period, alpha, one_minus_alpha);
    }

    // value = fma(alpha, x, one_minus_alpha * value).
    std::optional<double> step_fused(double x) {
        if (seeded_) {
            value_ = std::fma(alpha_, x, one_minus_alpha_ * value_);
            return value_;
        }
        return seed(x);
    }

    // value = alpha * x + one_minus_alpha * value, each product rounded.
    std::optional<double> step_unfused(double x) {
        if (seeded_) {
            value_ = alpha_ * x + one_minus_alpha_ * value_;
            return value_;
        }
        return seed(x);
    }

    std::size_t period() const { return period_; }
    double alpha() const { return alpha_; }
    double one_minus_alpha() const { return one_minus_alpha_; }
    bool seeded() const { return seeded_; }
    double value() const { return value_; }

private:
    SeededEma(std::size_t period, double alpha, double one_minus_alpha)
        : period_(period), alpha_(alpha), one_minus_alpha_(one_minus_alpha) {}

    std::optional<double> seed(double x) {
        seed_sum_ = seed_sum_ + x;
        if (++seed_count_ == period_) {
            value_ = seed_sum_ / static_cast<double>(seed_count_);
            seeded_ = true;
            return value_;
        }
        return std::nullopt;
    }

    std::size_t period_;
    double alpha_;
    double one_minus_alpha_;
    double value_ = 0.0;
    double seed_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    bool seeded_ = false;
};

}  // namespace ostrel::core
