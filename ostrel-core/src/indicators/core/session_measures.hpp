// Pieces shared by the session and calendar kinds: the guarded simple return and
// the range of the first candles after construction.
#pragma once

#include <cstddef>
#include <limits>

namespace ostrel::core {

// a / b - 1, taken as the quotient plus -1; exactly 0 when b is 0.
inline double session_return(double a, double b) {
    if (b == 0.0) return 0.0;
    return a / b + -1.0;
}

// High and low of the first `period` candles; frozen once the candle that brings the
// count to `period` has been taken in.
class FirstBarsRange {
public:
    explicit FirstBarsRange(std::size_t period) : period_(period) {}

    void step(double high, double low) {
        if (complete_) return;
        if (high > high_) high_ = high;
        if (low < low_) low_ = low;
        if (++count_ >= period_) complete_ = true;
    }

    std::size_t period() const { return period_; }
    double high() const { return high_; }
    double low() const { return low_; }

private:
    std::size_t period_;
    std::size_t count_ = 0;
    double high_ = -std::numeric_limits<double>::infinity();
    double low_ = std::numeric_limits<double>::infinity();
    bool complete_ = false;
};

}  // namespace ostrel::core
