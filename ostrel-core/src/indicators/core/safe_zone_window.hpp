// Fixed-length window of values with their running sum and the count of entries
// that are strictly positive (the penetration window of the safe-zone stop).
#pragma once

#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class SafeZoneWindow {
public:
    static Expected<SafeZoneWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return SafeZoneWindow(period);
    }

    void push(double x) {
        if (ring_.full()) {
            double v = ring_.oldest();
            ring_.pop_oldest();
            sum_ = sum_ - v;
            if (v > 0.0) --count_;
        }
        ring_.push(x);
        sum_ = sum_ + x;
        if (x > 0.0) ++count_;
    }

    double sum() const { return sum_; }
    std::size_t positive_count() const { return count_; }
    std::size_t size() const { return ring_.size(); }
    bool full() const { return ring_.full(); }
    std::size_t period() const { return ring_.capacity(); }

private:
    explicit SafeZoneWindow(std::size_t period) : ring_(period) {}

    Ring<double> ring_;
    double sum_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace ostrel::core
