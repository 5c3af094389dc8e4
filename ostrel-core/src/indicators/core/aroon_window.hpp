// Aroon lines over the last period + 1 candles: how recently (as a percentage of
// `period`) the window's highest high and lowest low occurred. On equal extremes the
// newest candle wins.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct AroonLines {
    double up;
    double down;
};

class AroonWindow {
public:
    static Expected<AroonWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return AroonWindow(period);
    }

    // Takes a checked candle.
    std::optional<AroonLines> step(const Candle& c) {
        candles_.push(c);
        if (!candles_.full()) return std::nullopt;
        std::size_t hi = 0, lo = 0;
        double best_high = candles_[0].high, best_low = candles_[0].low;
        for (std::size_t i = 1; i <= period_; ++i) {
            const Candle& k = candles_[i];
            if (k.high >= best_high) {
                best_high = k.high;
                hi = i;
            }
            if (k.low <= best_low) {
                best_low = k.low;
                lo = i;
            }
        }
        const double n = static_cast<double>(period_);
        return AroonLines{(static_cast<double>(hi) * 100.0) / n, (static_cast<double>(lo) * 100.0) / n};
    }

    std::size_t period() const { return period_; }

private:
    explicit AroonWindow(std::size_t period) : candles_(period + 1), period_(period) {}

    Ring<Candle> candles_;
    std::size_t period_;
};

}  // namespace ostrel::core
