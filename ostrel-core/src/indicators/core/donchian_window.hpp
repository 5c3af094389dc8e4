// The channel window shared by the Donchian-type kinds (Donchian, WilliamsR,
// MidPrice): the last `period` accepted candles, scanned in full for the extremes.
#pragma once

#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class DonchianWindow {
public:
    static Expected<DonchianWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return DonchianWindow(period);
    }

    // Appends a checked candle, dropping the oldest when `period` are held.
    void push(const Candle& c) { candles_.push(c); }

    bool full() const { return candles_.full(); }
    std::size_t period() const { return candles_.capacity(); }
    const Ring<Candle>& candles() const { return candles_; }

    // Largest high and smallest low of the held candles, scanned oldest first
    // (the window must not be empty).
    double highest_high() const {
        double h = candles_[0].high;
        candles_.for_each([&](const Candle& c) {
            if (c.high > h) h = c.high;
        });
        return h;
    }
    double lowest_low() const {
        double l = candles_[0].low;
        candles_.for_each([&](const Candle& c) {
            if (c.low < l) l = c.low;
        });
        return l;
    }

private:
    explicit DonchianWindow(std::size_t period) : candles_(period) {}

    Ring<Candle> candles_;
};

}  // namespace ostrel::core
