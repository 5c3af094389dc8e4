// Simple moving average core: a ring and a running sum, re-summed exactly every
// 16 x period accepted values (counted from construction) to stop drift. The ring
// grows with the values received until it holds `period` of them.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "indicators/indicator.hpp"
#include "indicators/core/inline_hint.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class Sma {
public:
    static Expected<Sma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Sma(period);
    }

    OSTREL_ALWAYS_INLINE std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (count_ < period_) {
            grow_toward(buf_, period_);
            buf_.push_back(x);  // head_ == count_ until the ring is full
            sum_ = x + sum_;
            ++count_;
        } else {
            double old = buf_[head_];
            buf_[head_] = x;
            sum_ = x + (sum_ - old);
        }
        if (++head_ == period_) head_ = 0;
        if (++pushes_since_resum_ == 16 * period_) resum();
        if (count_ == period_) return sum_ / static_cast<double>(period_);
        return std::nullopt;
    }

    std::size_t period() const { return period_; }

private:
    explicit Sma(std::size_t period) : period_(period) {}

    // The exact sum of the ring, oldest first, in place of the running one.
    OSTREL_OUT_OF_LINE void resum() {
        double s = -0.0;
        for (std::size_t i = head_; i < period_; ++i) s = s + buf_[i];
        for (std::size_t i = 0; i < head_; ++i) s = s + buf_[i];
        sum_ = s;
        pushes_since_resum_ = 0;
    }

    std::vector<double> buf_;
    std::size_t period_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    double sum_ = 0.0;
    std::size_t pushes_since_resum_ = 0;
};

}  // namespace ostrel::core
