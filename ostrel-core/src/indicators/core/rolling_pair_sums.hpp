// A window of `period` value pairs with the running sum of each side (never
// re-summed). Kinds that share it apply their own order of removal and addition.
//
// A running sum keeps the rounding residue of the values that have left it, so a
// side whose window holds nothing but zeros (no sells among the last trades, no
// down bodies) would read a few units in the last place, or even below 0, instead
// of 0. A counter of trailing zeros per side makes such a side read exactly 0; the
// sums themselves are left as they are.
#pragma once

#include <cstddef>
#include <utility>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class RollingPairSums {
public:
    static Expected<RollingPairSums, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingPairSums(period);
    }

    // Removes the oldest pair (subtracting it) when `period` are held, then appends
    // the new pair and adds it.
    void replace_then_add(double a, double b) {
        if (ring_.full()) {
            auto [oa, ob] = ring_.oldest();
            ring_.pop_oldest();
            sum_a_ = sum_a_ - oa;
            sum_b_ = sum_b_ - ob;
        }
        ring_.push({a, b});
        zeros_a_.push(a);
        zeros_b_.push(b);
        sum_a_ = sum_a_ + a;
        sum_b_ = sum_b_ + b;
    }

    // Appends the new pair and adds it, then removes the pair beyond `period` and
    // subtracts it: sum = (sum + new) - old.
    void add_then_replace(double a, double b) {
        const bool evicts = ring_.full();
        const std::pair<double, double> old = evicts ? ring_.oldest() : std::pair<double, double>{};
        ring_.push({a, b});
        zeros_a_.push(a);
        zeros_b_.push(b);
        sum_a_ = sum_a_ + a;
        sum_b_ = sum_b_ + b;
        if (evicts) {
            sum_a_ = sum_a_ - old.first;
            sum_b_ = sum_b_ - old.second;
        }
    }

    bool full() const { return ring_.full(); }
    // The running sums; exactly 0 for a side whose full window holds only zeros.
    double sum_a() const { return zeros_a() ? 0.0 : sum_a_; }
    double sum_b() const { return zeros_b() ? 0.0 : sum_b_; }
    // Whether a side's full window holds only zeros (its exact sum is 0).
    bool zeros_a() const { return zeros_a_.covers(ring_.capacity()); }
    bool zeros_b() const { return zeros_b_.covers(ring_.capacity()); }
    std::size_t period() const { return ring_.capacity(); }

private:
    explicit RollingPairSums(std::size_t period) : ring_(period) {}

    Ring<std::pair<double, double>> ring_;
    ZeroRun zeros_a_;
    ZeroRun zeros_b_;
    double sum_a_ = 0.0;
    double sum_b_ = 0.0;
};

}  // namespace ostrel::core
