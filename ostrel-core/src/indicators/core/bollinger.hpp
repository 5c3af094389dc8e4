// Bollinger window core: anchored running sums of (x - K) and (x - K)^2, re-anchored
// on the window mean every `period` accepted values (first when the window fills).
// A window of equal values has a standard deviation of exactly 0 (the bands meet the
// middle), whatever residue the sums keep; the middle keeps its arithmetic.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct BollingerOut {
    double upper;
    double middle;
    double lower;
    double stddev;
};

class BollingerWindow {
public:
    // Checks are the embedding kind's; the state only needs a valid period.
    BollingerWindow(std::size_t period, double multiplier) : window_(period), period_(period), multiplier_(multiplier) {}

    std::optional<BollingerOut> step(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        run_.push(x);
        if (window_.full()) {
            double d = window_.oldest() - anchor_;
            shifted_sum_ -= d;
            shifted_sum_sq_ -= d * d;
        }
        window_.push(x);
        if (!anchor_set_) {
            anchor_ = x;
            anchor_set_ = true;
        }
        double e = x - anchor_;
        shifted_sum_ += e;
        shifted_sum_sq_ += e * e;
        if (++pushes_since_anchor_ == period_) {
            anchor_ = mean_oldest_first(window_);
            double s1 = 0.0, s2 = 0.0;
            window_.for_each([&](double v) {
                double dv = v - anchor_;
                s1 = s1 + dv;
                s2 = s2 + dv * dv;
            });
            shifted_sum_ = s1;
            shifted_sum_sq_ = s2;
            pushes_since_anchor_ = 0;
        }
        if (!window_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double m = shifted_sum_ / n;
        double middle = anchor_ + m;
        double variance = flat() ? 0.0 : max_ignoring_nan(shifted_sum_sq_ / n - m * m, 0.0);
        double sd = std::sqrt(variance);
        double band = multiplier_ * sd;
        return BollingerOut{middle + band, middle, middle - band, sd};
    }

    // True when the last `period` accepted values are all equal.
    bool flat() const { return run_.covers(period_); }
    std::size_t period() const { return period_; }
    double multiplier() const { return multiplier_; }
    const Ring<double>& window() const { return window_; }

private:
    Ring<double> window_;
    std::size_t period_;
    double multiplier_;
    double anchor_ = 0.0;
    bool anchor_set_ = false;
    double shifted_sum_ = 0.0;
    double shifted_sum_sq_ = 0.0;
    std::size_t pushes_since_anchor_ = 0;
    EqualRun run_;
};

}  // namespace ostrel::core
