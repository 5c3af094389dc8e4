// True range of a candle against the previous accepted close: the largest of
// high - low, |high - prev_close| and |low - prev_close|; high - low without one.
#pragma once

#include <cmath>
#include <optional>

namespace ostrel::core {

inline double true_range(double high, double low, double prev_close) {
    double tr = high - low;
    double up = std::fabs(high - prev_close);
    if (up > tr) tr = up;
    double down = std::fabs(low - prev_close);
    if (down > tr) tr = down;
    return tr;
}

inline double true_range(double high, double low, std::optional<double> prev_close) {
    return prev_close ? true_range(high, low, *prev_close) : high - low;
}

}  // namespace ostrel::core
