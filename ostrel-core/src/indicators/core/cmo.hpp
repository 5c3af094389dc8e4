// Chande momentum sums over the last `period` moves. The running sums are never
// recomputed: their drift is part of the values.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/core/ring.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::core {

class Cmo {
public:
    explicit Cmo(std::size_t period) : moves_(period), period_(period) {}

    OSTREL_ALWAYS_INLINE std::optional<double> step(double x) {
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
        }
        double diff = x - p;
        double up = std::max(diff, 0.0);
        double down = std::max(-diff, 0.0);
        moves_.push({up, down});
        sum_up_ = up + sum_up_;
        sum_down_ = down + sum_down_;
        no_ups_.push(up);
        no_downs_.push(down);
        if (!moves_.full()) return std::nullopt;
        // A window moving one way only gives exactly +-100 (0 without any move),
        // whatever residue the sums keep of the moves that left. Otherwise sums of
        // non-negative moves read below 0 (such residues) are 0.
        const bool no_up = no_ups_.covers(period_), no_down = no_downs_.covers(period_);
        double value;
        if (no_up | no_down) {
            value = no_down ? (no_up ? 0.0 : 100.0) : -100.0;
        } else {
            const double up_sum = core::not_below_zero(sum_up_);
            const double down_sum = core::not_below_zero(sum_down_);
            double total = up_sum + down_sum;
            value = total == 0.0 ? 0.0 : ((up_sum - down_sum) * 100.0) / total;
            // |up - down| <= total, but the product by 100 may round (or overflow)
            // beyond total x 100.
            value = std::max(std::min(value, 100.0), -100.0);
        }
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
    ZeroRun no_ups_;    // the up moves: a run of zeros is a stretch without one
    ZeroRun no_downs_;  // the down moves, likewise
};

}  // namespace ostrel::core
