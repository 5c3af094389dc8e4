// Average true range: the first value is the plain mean of the first `period` true
// ranges (the first candle's high - low included), then Wilder's smoothing with the
// constants n - 1 and 1/n fixed at construction.
//
// Two smoothing steps exist and must not be mixed: the ATR kinds and the stops and
// bands built on them round once in a fused multiply-add, while the envelope bands
// and the trend followers round the product and the sum separately.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::core {

class WilderAtr {
public:
    static Expected<WilderAtr, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return WilderAtr(period);
    }

    // A = fma(A, n - 1, TR) * (1/n).
    std::optional<double> step_fused(double high, double low, double close) {
        double tr = next_true_range(high, low, close);
        if (seeded_) {
            atr_ = std::fma(atr_, n_minus_1_, tr) * inv_n_;
            return atr_;
        }
        return seed(tr);
    }

    // A = (A * (n - 1) + TR) * (1/n), product and sum rounded separately.
    std::optional<double> step_unfused(double high, double low, double close) {
        double tr = next_true_range(high, low, close);
        if (seeded_) {
            atr_ = (atr_ * n_minus_1_ + tr) * inv_n_;
            return atr_;
        }
        return seed(tr);
    }

    std::size_t period() const { return period_; }
    bool seeded() const { return seeded_; }
    double value() const { return atr_; }

private:
    explicit WilderAtr(std::size_t period)
        : period_(period),
          n_minus_1_(static_cast<double>(period) - 1.0),
          inv_n_(1.0 / static_cast<double>(period)) {}

    double next_true_range(double high, double low, double close) {
        double tr = true_range(high, low, prev_close_);
        prev_close_ = close;
        return tr;
    }

    std::optional<double> seed(double tr) {
        seed_sum_ = seed_sum_ + tr;
        if (++seed_count_ == period_) {
            atr_ = seed_sum_ / static_cast<double>(seed_count_);
            seeded_ = true;
            return atr_;
        }
        return std::nullopt;
    }

    std::optional<double> prev_close_;
    std::size_t period_;
    double n_minus_1_;
    double inv_n_;
    double seed_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    double atr_ = 0.0;
    bool seeded_ = false;
};

}  // namespace ostrel::core
