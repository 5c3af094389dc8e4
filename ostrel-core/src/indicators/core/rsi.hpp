// Relative strength index core, also embedded as an inner RSI by other kinds.
// Seeded with the plain means of the first `period` gains and losses, then
// smoothed as fma(avg, n - 1, new) x (1 / n). A window without movement gives 50.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

class Rsi {
public:
    static Expected<Rsi, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Rsi(period);
    }

    // The RSI after x; nothing before the (period + 1)-th finite input. A
    // non-finite x gives nothing and changes nothing.
    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return std::nullopt;
        }
        const double change = x - prev_;
        prev_ = x;
        const double gain = change > 0.0 ? change : 0.0;  // +0 for a zero or -0 change
        const double loss = change < 0.0 ? -change : 0.0;
        if (!seeded_) {
            // Summing as the changes arrive is the same left-to-right sum as adding
            // the whole seed list at the end, without keeping the list.
            seed_gain_sum_ = seed_gain_sum_ + gain;
            seed_loss_sum_ = seed_loss_sum_ + loss;
            if (++seed_count_ < period_) return std::nullopt;
            const double n = static_cast<double>(period_);
            avg_gain_ = seed_gain_sum_ / n;
            avg_loss_ = seed_loss_sum_ / n;
            seeded_ = true;
        } else {
            avg_gain_ = std::fma(avg_gain_, n_minus_one_, gain) * inv_period_;
            avg_loss_ = std::fma(avg_loss_, n_minus_one_, loss) * inv_period_;
        }
        const double total = avg_gain_ + avg_loss_;
        if (total == 0.0) return 50.0;
        return (avg_gain_ * 100.0) / total;
    }

    std::size_t period() const { return period_; }
    // Inputs needed before the first value.
    std::size_t warmup_period() const { return period_ + 1; }

private:
    explicit Rsi(std::size_t period)
        : period_(period),
          n_minus_one_(static_cast<double>(period) - 1.0),
          inv_period_(1.0 / static_cast<double>(period)) {}

    std::size_t period_;
    double n_minus_one_;
    double inv_period_;
    double seed_gain_sum_ = 0.0;
    double seed_loss_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    double prev_ = 0.0;
    double avg_gain_ = 0.0;
    double avg_loss_ = 0.0;
    bool has_prev_ = false;
    bool seeded_ = false;
};

}  // namespace ostrel::core
