// Window mean and population variance from running sums of (x - K) and (x - K)^2
// about an anchor K: K is the first value, then the window mean at every rebuild.
// A rebuild recomputes K and both sums from the window every `period` accepted
// values, first on the update that fills the window.
//
// A window of equal values has a variance of exactly 0: the sums then still carry
// the rounding residue of values that left the window (or of a mean that is not the
// value itself), so both variances answer 0 from a count of equal values instead.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/core/anchored_sums.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/inline_hint.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class RollingMoments {
public:
    static Expected<RollingMoments, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingMoments(period);
    }

    // Takes one value; true when the window is full afterwards. A non-finite value
    // changes nothing and gives false.
    OSTREL_ALWAYS_INLINE bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (window_.full()) sums_.remove(window_.oldest());
        window_.push(x);
        sums_.add(x);
        run_.push(x);
        if (++pushes_since_anchor_ == period_) {
            sums_.rebuild(window_);
            pushes_since_anchor_ = 0;
        }
        return window_.full();
    }

    // The following read a full window. m1 = mean less K.
    double m1() const { return sums_.sum / static_cast<double>(period_); }
    double mean() const { return sums_.anchor + m1(); }
    // True when the full window holds equal values.
    bool flat() const { return run_.covers(period_); }
    // Population variance, clamped at 0 (a negative or NaN difference gives 0); 0 for
    // a flat window.
    double variance() const {
        if (flat()) [[unlikely]] return 0.0;
        double m = m1();
        double v = sums_.sum_sq / static_cast<double>(period_) - m * m;
        return v > 0.0 ? v : 0.0;
    }

    // Sample variance of a full window from the raw sums:
    // (S2 - n * (S1 / n)^2) / (n - 1), clamped at 0 (a NaN gives 0); 0 for a flat
    // window. Needs n >= 2.
    double sample_variance() const {
        if (flat()) [[unlikely]] return 0.0;
        return sums_.sample_variance(static_cast<double>(period_));
    }

    std::size_t period() const { return period_; }
    bool full() const { return window_.full(); }
    double anchor() const { return sums_.anchor; }
    double shifted_sum() const { return sums_.sum; }
    double shifted_sum_sq() const { return sums_.sum_sq; }
    const Ring<double>& window() const { return window_; }

private:
    explicit RollingMoments(std::size_t period) : window_(period), period_(period) {}

    Ring<double> window_;
    AnchoredSums sums_;
    EqualRun run_;
    std::size_t pushes_since_anchor_ = 0;
    std::size_t period_;
};

}  // namespace ostrel::core
