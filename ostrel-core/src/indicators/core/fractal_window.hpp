// A window of the last n candles' highs and lows with the fractal pivot test: the
// candle at a given position is a pivot high when every other candle's high is
// strictly below its high, and a pivot low when every other low is strictly above.
#pragma once

#include <cstddef>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

class FractalWindow {
public:
    struct Extremes {
        double high = 0.0;
        double low = 0.0;
    };
    struct Verdict {
        bool pivot_high = false;
        bool pivot_low = false;
    };

    explicit FractalWindow(std::size_t n) : bars_(n) {}

    // Appends, dropping the oldest when n are held.
    void push(double high, double low) { bars_.push({high, low}); }
    bool full() const { return bars_.full(); }
    std::size_t length() const { return bars_.capacity(); }
    // pos = 0 is the oldest candle.
    const Extremes& at(std::size_t pos) const { return bars_[pos]; }

    Verdict test(std::size_t pos) const {
        const Extremes c = bars_[pos];
        Verdict v{true, true};
        for (std::size_t i = 0; i < bars_.size() && (v.pivot_high || v.pivot_low); ++i) {
            if (i == pos) continue;
            const Extremes& o = bars_[i];
            if (!(o.high < c.high)) v.pivot_high = false;
            if (!(o.low > c.low)) v.pivot_low = false;
        }
        return v;
    }

private:
    Ring<Extremes> bars_;
};

}  // namespace ostrel::core
