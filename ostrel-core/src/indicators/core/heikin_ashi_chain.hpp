// The Heikin-Ashi step shared by the plain and the smoothed kind: each candle's
// open is the midpoint of the previous Heikin-Ashi open and close (of its own open
// and close for the first), its close the mean of the four input prices.
#pragma once

#include <array>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

class HeikinAshiChain {
public:
    // Open, high, low, close of the next Heikin-Ashi candle.
    std::array<double, 4> step(double o, double h, double l, double c) {
        const double ha_close = (((o + h) + l) + c) * 0.25;
        const double ha_open = prev_ ? midpoint(prev_->open, prev_->close) : midpoint(o, c);
        double ha_high = h;
        if (ha_open > ha_high) ha_high = ha_open;
        if (ha_close > ha_high) ha_high = ha_close;
        double ha_low = l;
        if (ha_open < ha_low) ha_low = ha_open;
        if (ha_close < ha_low) ha_low = ha_close;
        prev_ = Previous{ha_open, ha_close};
        return {ha_open, ha_high, ha_low, ha_close};
    }

private:
    struct Previous {
        double open;
        double close;
    };
    std::optional<Previous> prev_;
};

}  // namespace ostrel::core
