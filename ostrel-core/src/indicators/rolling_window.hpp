// A plain ring window of the last `period` values in arrival order, shared by the
// kinds that scan their whole window on each update.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/ring.hpp"

namespace ostrel::core {

struct RollingWindow {
    static Expected<RollingWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingWindow{Ring<double>(period), period};
    }

    // Appends v, dropping the oldest value when the window is full.
    void push(double v) { window.push(v); }
    bool full() const { return window.full(); }

    // The step the close-window kinds open with: a non-finite v changes nothing and
    // gives false; otherwise v is appended and the answer is whether the window is full.
    bool push_finite(double v) {
        if (!std::isfinite(v)) return false;
        push(v);
        return full();
    }

    Ring<double> window;
    std::size_t period;
};

}  // namespace ostrel::core
