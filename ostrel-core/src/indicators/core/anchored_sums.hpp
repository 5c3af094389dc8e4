// Running sums of (x - K) and (x - K)^2 about an anchor K, for windows whose mean and
// variance must not lose precision far from zero: K is the first value added, then
// the window mean at every rebuild. When to rebuild is the owner's choice.
#pragma once

#include "indicators/core/ring.hpp"
#include "indicators/core/inline_hint.hpp"

namespace ostrel::core {

struct AnchoredSums {
    double anchor = 0.0;
    double sum = 0.0;     // of (x - anchor)
    double sum_sq = 0.0;  // of (x - anchor)^2
    bool anchor_set = false;

    // Adds x to both sums; the first value ever added becomes the anchor.
    void add(double x) {
        if (!anchor_set) {
            anchor = x;
            anchor_set = true;
        }
        double d = x - anchor;
        sum = sum + d;
        sum_sq = sum_sq + d * d;
    }

    // Takes back a value added before.
    void remove(double x) {
        double d = x - anchor;
        sum = sum - d;
        sum_sq = sum_sq - d * d;
    }

    // Re-anchors on the window's mean and recomputes both sums, oldest to newest.
    OSTREL_OUT_OF_LINE void rebuild(const Ring<double>& window) {
        anchor = mean_oldest_first(window);
        double s1 = 0.0, s2 = 0.0;
        window.for_each([&](double v) {
            double d = v - anchor;
            s1 = s1 + d;
            s2 = s2 + d * d;
        });
        sum = s1;
        sum_sq = s2;
    }

    // Sample variance of n values: (S2 - n * (S1 / n)^2) / (n - 1), clamped at 0 (a
    // NaN gives 0). Needs n >= 2.
    double sample_variance(double n) const {
        double m = sum / n;
        double v = (sum_sq - n * (m * m)) / (n - 1.0);
        return v > 0.0 ? v : 0.0;
    }
};

}  // namespace ostrel::core
