// Chande momentum sums over the last `period` moves. The running sums are never
// recomputed: their drift is part of the values.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/core/ring.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::core {

class Cmo {
public:
    explicit Cmo(std::size_t period) : moves_(period), period_(period) {}

    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!previous_) {
            previous_ = x;
            return std::nullopt;
        }
        double p = *previous_;
        previous_ = x;
        if (moves_.full()) {
            const auto& [u, v] = moves_.oldest();
            sum_up_ -= u;
            sum_down_ -= v;
            ups_ -= u != 0.0;
            downs_ -= v != 0.0;
        }
        double diff = x - p;
        double up = std::max(diff, 0.0);
        double down = std::max(-diff, 0.0);
        moves_.push({up, down});
        sum_up_ = up + sum_up_;
        sum_down_ = down + sum_down_;
        ups_ += up != 0.0;
        downs_ += down != 0.0;
        if (!moves_.full()) return std::nullopt;
        // Sums of non-negative moves read below 0 (residues of moves that left) are 0,
        // and so is a side without a move in the window, whatever residue it keeps.
        const double up_sum = ups_ == 0 ? 0.0 : core::not_below_zero(sum_up_);
        const double down_sum = downs_ == 0 ? 0.0 : core::not_below_zero(sum_down_);
        double total = up_sum + down_sum;
        double value = total == 0.0 ? 0.0 : ((up_sum - down_sum) * 100.0) / total;
        // |up - down| <= total, but the product by 100 may round (or overflow) beyond
        // it, or below it when one side is 0: a window moving one way gives +-100.
        if (value > 100.0 || (down_sum == 0.0 && up_sum > 0.0)) value = 100.0;
        if (value < -100.0 || (up_sum == 0.0 && down_sum > 0.0)) value = -100.0;
        last_value_ = value;
        return value;
    }

    std::size_t period() const { return period_; }
    std::optional<double> last_value() const { return last_value_; }

private:
    std::optional<double> previous_;
    std::optional<double> last_value_;
    Ring<std::pair<double, double>> moves_;
    std::size_t period_;
    double sum_up_ = 0.0;
    double sum_down_ = 0.0;
    std::size_t ups_ = 0;    // moves up in the window
    std::size_t downs_ = 0;  // moves down in the window
};

}  // namespace ostrel::core
