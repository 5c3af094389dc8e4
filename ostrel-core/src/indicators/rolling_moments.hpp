// Window mean and population variance from running sums of (x - K) and (x - K)^2
// about an anchor K: K is the first value, then the window mean at every rebuild.
// A rebuild recomputes K and both sums from the window every `period` accepted
// values, first on the update that fills the window.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/ring.hpp"

namespace ostrel::core {

class RollingMoments {
public:
    static Expected<RollingMoments, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingMoments(period);
    }

    // Takes one value; true when the window is full afterwards. A non-finite value
    // changes nothing and gives false.
    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (window_.full()) {
            double d = window_.oldest() - anchor_;
            shifted_sum_ = shifted_sum_ - d;
            shifted_sum_sq_ = shifted_sum_sq_ - d * d;
        }
        window_.push(x);
        if (!anchor_set_) {
            anchor_ = x;
            anchor_set_ = true;
        }
        double d = x - anchor_;
        shifted_sum_ = shifted_sum_ + d;
        shifted_sum_sq_ = shifted_sum_sq_ + d * d;
        if (++pushes_since_anchor_ == period_) rebuild();
        return window_.full();
    }

    // The following read a full window. m1 = mean less K.
    double m1() const { return shifted_sum_ / static_cast<double>(period_); }
    double mean() const { return anchor_ + m1(); }
    // Population variance, clamped at 0 (a negative or NaN difference gives 0).
    double variance() const {
        double m = m1();
        double v = shifted_sum_sq_ / static_cast<double>(period_) - m * m;
        return v > 0.0 ? v : 0.0;
    }

    // Sample variance of a full window from the raw sums:
    // (S2 - n * (S1 / n)^2) / (n - 1), clamped at 0 (a NaN gives 0). Needs n >= 2.
    double sample_variance() const {
        const double n = static_cast<double>(period_);
        double m = m1();
        double v = (shifted_sum_sq_ - n * (m * m)) / (n - 1.0);
        return v > 0.0 ? v : 0.0;
    }

    std::size_t period() const { return period_; }
    bool full() const { return window_.full(); }
    double anchor() const { return anchor_; }
    double shifted_sum() const { return shifted_sum_; }
    double shifted_sum_sq() const { return shifted_sum_sq_; }
    const Ring<double>& window() const { return window_; }

private:
    explicit RollingMoments(std::size_t period) : window_(period), period_(period) {}

    void rebuild() {
        double s = 0.0;
        window_.for_each([&](double v) { s = s + v; });
        anchor_ = s / static_cast<double>(window_.size());
        double s1 = 0.0, s2 = 0.0;
        window_.for_each([&](double v) {
            double d = v - anchor_;
            s1 = s1 + d;
            s2 = s2 + d * d;
        });
        shifted_sum_ = s1;
        shifted_sum_sq_ = s2;
        pushes_since_anchor_ = 0;
    }

    Ring<double> window_;
    double anchor_ = 0.0;
    double shifted_sum_ = 0.0;
    double shifted_sum_sq_ = 0.0;
    std::size_t pushes_since_anchor_ = 0;
    bool anchor_set_ = false;
    std::size_t period_;
};

}  // namespace ostrel::core
