// Linearly weighted moving average core (oldest weight 1, newest weight period).
// Both running sums are recomputed exactly after 16 ring wraps counted from the fill.
// The ring grows with the values received until it holds `period` of them.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class Wma {
public:
    static Expected<Wma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Wma(period);
    }

    std::optional<double> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double n = static_cast<double>(period_);
        if (count_ < period_) {
            grow_toward(buf_, period_);
            buf_.push_back(x);  // head_ == count_ until the ring is full
            if (++head_ == period_) head_ = 0;
            sum_ = x + sum_;
            ++count_;
            if (count_ < period_) return std::nullopt;
            weighted_sum_ = weighted_from_buffer();
            return weighted_sum_ / weight_total_;
        }
        double old = buf_[head_];
        buf_[head_] = x;
        weighted_sum_ = (weighted_sum_ - sum_) + x * n;
        sum_ = x + (sum_ - old);
        if (++head_ == period_) {
            head_ = 0;
            if (++full_cycles_ == 16) {
                double s = -0.0;
                for (std::size_t i = 0; i < period_; ++i) s = s + buf_[i];
                sum_ = s;
                weighted_sum_ = weighted_from_buffer();
                full_cycles_ = 0;
            }
        }
        return weighted_sum_ / weight_total_;
    }

    std::size_t period() const { return period_; }

private:
    explicit Wma(std::size_t period)
        : period_(period),
          weight_total_((static_cast<double>(period) + 1.0) * static_cast<double>(period) * 0.5) {}

    // Buffer is in arrival order from slot 0 whenever this runs.
    double weighted_from_buffer() const {
        double w = -0.0;
        for (std::size_t i = 0; i < period_; ++i) w = w + (static_cast<double>(i) + 1.0) * buf_[i];
        return w;
    }

    std::vector<double> buf_;
    std::size_t period_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    double weighted_sum_ = 0.0;
    double sum_ = 0.0;
    double weight_total_;
    std::size_t full_cycles_ = 0;
};

}  // namespace ostrel::core
