// Time series forecast: the least-squares line of the window one step beyond its
// newest value, b * n + a.
#pragma once

#include <optional>

#include "indicators/core/linreg.hpp"

namespace ostrel::core {

struct Tsf {
    // Advances the window with y; the forecast once the window is full.
    static std::optional<double> step(RegressionWindow& w, double y) {
        if (!w.push(y)) return std::nullopt;
        double b = w.slope();
        return b * static_cast<double>(w.period()) + w.intercept(b);
    }
};

}  // namespace ostrel::core
