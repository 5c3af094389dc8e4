// A ring window with a running sum that is recomputed exactly (left to right from
// negative zero) every `period` pushes counted from construction.
#pragma once

#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct RollingSums {
    static Expected<RollingSums, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingSums{Ring<double>(period), period};
    }

    // Appends v (dropping the oldest when full) and maintains `sum`.
    void push(double v) {
        if (window.full()) {
            double o = window.oldest();
            window.pop_oldest();
            sum = sum - o;
        }
        window.push(v);
        sum = v + sum;
        if (++pushes_since_resum == period) {
            double s = -0.0;
            window.for_each([&](double x) { s = s + x; });
            sum = s;
            pushes_since_resum = 0;
        }
    }

    Ring<double> window;
    std::size_t period;
    double sum = 0.0;
    std::size_t pushes_since_resum = 0;
};

}  // namespace ostrel::core
