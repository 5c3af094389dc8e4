// Running sums of the first four powers of (x - K) over a window, anchored and
// rebuilt like RollingMoments. Powers are formed left to right: d2 = d*d,
// d3 = d2*d, d4 = d3*d. The sums keep rounding residues on a window of equal values,
// whose central moments are exactly 0: flat() tells the kinds so.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/core/equal_run.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class RollingPowerSums {
public:
    // Checks are the embedding kind's (each has its own minimum).
    explicit RollingPowerSums(std::size_t period) : window_(period), period_(period) {}

    // Takes one value; true when the window is full afterwards. A non-finite value
    // changes nothing and gives false.
    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (window_.full()) {
            double d = window_.oldest() - anchor_;
            double d2 = d * d, d3 = d2 * d, d4 = d3 * d;
            s1_ = s1_ - d;
            s2_ = s2_ - d2;
            s3_ = s3_ - d3;
            s4_ = s4_ - d4;
        }
        window_.push(x);
        run_.push(x);
        if (!anchor_set_) {
            anchor_ = x;
            anchor_set_ = true;
        }
        double d = x - anchor_;
        double d2 = d * d, d3 = d2 * d, d4 = d3 * d;
        s1_ = s1_ + d;
        s2_ = s2_ + d2;
        s3_ = s3_ + d3;
        s4_ = s4_ + d4;
        if (++pushes_since_anchor_ == period_) rebuild();
        return window_.full();
    }

    // Raw moments about K of a full window: sum of (x - K)^k divided by n.
    double r1() const { return s1_ / n(); }
    double r2() const { return s2_ / n(); }
    double r3() const { return s3_ / n(); }
    double r4() const { return s4_ / n(); }

    // True when the full window holds equal values.
    bool flat() const { return run_.covers(period_); }

    std::size_t period() const { return period_; }

private:
    double n() const { return static_cast<double>(period_); }

    void rebuild() {
        anchor_ = mean_oldest_first(window_);
        double a = 0.0, b = 0.0, c = 0.0, e = 0.0;
        window_.for_each([&](double v) {
            double d = v - anchor_;
            double d2 = d * d, d3 = d2 * d, d4 = d3 * d;
            a = a + d;
            b = b + d2;
            c = c + d3;
            e = e + d4;
        });
        s1_ = a;
        s2_ = b;
        s3_ = c;
        s4_ = e;
        pushes_since_anchor_ = 0;
    }

    Ring<double> window_;
    EqualRun run_;
    double anchor_ = 0.0;
    double s1_ = 0.0;
    double s2_ = 0.0;
    double s3_ = 0.0;
    double s4_ = 0.0;
    std::size_t pushes_since_anchor_ = 0;
    bool anchor_set_ = false;
    std::size_t period_;
};

}  // namespace ostrel::core
