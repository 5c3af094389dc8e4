// Window core of the rounded top and bottom: the last `period` closes, and whether
// the window's extreme close lies in its middle while the current close has moved
// back beyond the window's first close.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class RoundedTurn {
public:
    // `top`: look for a highest close (rounded top); otherwise a lowest close.
    // The caller checks `period` (at least 5, at most MAX_PERIOD).
    RoundedTurn(std::size_t period, bool top) : closes_(period), period_(period), top_(top) {}

    // Appends a close; no value until the window is full, then whether the turn is
    // present on this bar.
    std::optional<bool> step(double close) {
        closes_.push(close);
        if (closes_.size() < period_) return std::nullopt;
        // Earliest position wins on ties: only a strictly better close replaces.
        double extreme = closes_[0];
        std::size_t at = 0;
        for (std::size_t i = 1; i < period_; ++i) {
            const double x = closes_[i];
            if (top_ ? x > extreme : x < extreme) {
                extreme = x;
                at = i;
            }
        }
        const std::size_t q = period_ / 4;
        const double first = closes_[0];
        if (top_) return close < extreme && at < period_ - q && close < first && at >= q;
        return close > extreme && at < period_ - q && close > first && at >= q;
    }
    std::size_t period() const { return period_; }

private:
    Ring<double> closes_;
    std::size_t period_;
    bool top_;
};

}  // namespace ostrel::core
