// Money-flow volume of one candle: the volume weighted by where the close lies in
// the bar's range, from -v (close at the low) to +v (close at the high). The ratio
// is formed before the multiplication; a bar without range contributes 0.
#pragma once

#include "indicators/indicator.hpp"

namespace ostrel::core {

inline double money_flow_volume(const Candle& c) {
    const double range = c.high - c.low;
    if (range == 0.0) return 0.0;
    const double q = ((c.close - c.low) - (c.high - c.close)) / range;
    return c.volume * q;
}

}  // namespace ostrel::core
