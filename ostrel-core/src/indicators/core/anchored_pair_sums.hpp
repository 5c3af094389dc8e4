// A window of the last `period` pairs (u, v) with running sums of the deviations
// from an anchor (Ku, Kv): Su, Sv, Suu, Svv, Suv. The anchor is the first pair,
// then the window mean each time `period` pairs have been appended since the last
// rebuild (first when the window fills), when all five sums are recomputed over the
// window from 0, oldest first. A series used alone is pushed with v = 0.
//
// The sums keep rounding residues of the pairs that have left the window, so a side
// whose window holds equal values (a flat price, forward-filled bars, a run of
// zero changes) would show a variance of a few units in the last place, and a
// covariance likewise, and every ratio of the two would be a ratio of residues. A
// counter of equal values per side lets the moments answer their exact values on
// such a window instead: the variance of a flat side is 0 and the covariance is 0
// when either side is flat. The sums themselves are left as they are.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class AnchoredPairSums {
public:
    struct Pair {
        double u = 0.0;
        double v = 0.0;
    };

    // The embedding kind has checked the period (at least 1, at most MAX_PERIOD).
    explicit AnchoredPairSums(std::size_t period) : window_(period), period_(period) {}

    void push(double u, double v) {
        if (window_.full()) {
            const Pair& o = window_.oldest();
            const double du = o.u - ku_;
            const double dv = o.v - kv_;
            su_ = su_ - du;
            sv_ = sv_ - dv;
            suu_ = suu_ - du * du;
            svv_ = svv_ - dv * dv;
            suv_ = suv_ - du * dv;
        }
        window_.push({u, v});
        run_u_.push(u);
        run_v_.push(v);
        if (!anchor_set_) {
            ku_ = u;
            kv_ = v;
            anchor_set_ = true;
        }
        const double du = u - ku_;
        const double dv = v - kv_;
        su_ = su_ + du;
        sv_ = sv_ + dv;
        suu_ = suu_ + du * du;
        svv_ = svv_ + dv * dv;
        suv_ = suv_ + du * dv;
        if (++pushes_since_anchor_ == period_) rebuild();
    }

    bool full() const { return window_.full(); }
    std::size_t period() const { return period_; }
    const Ring<Pair>& window() const { return window_; }

    // True when every value of the u (v) side of a full window is the same.
    bool flat_u() const { return run_u_.covers(period_); }
    bool flat_v() const { return run_v_.covers(period_); }

    // Population moments of a full window (divisor n = period); a flat side has a
    // variance of exactly 0, and the covariance is exactly 0 when either side is flat.
    double n() const { return static_cast<double>(period_); }
    double mean_u() const { return ku_ + su_ / n(); }
    double mean_v() const { return kv_ + sv_ / n(); }
    double var_u() const {
        if (flat_u()) return 0.0;
        return floor0(suu_ / n() - (su_ / n()) * (su_ / n()));
    }
    double var_v() const {
        if (flat_v()) return 0.0;
        return floor0(svv_ / n() - (sv_ / n()) * (sv_ / n()));
    }
    double cov() const {
        if (flat_u() || flat_v()) return 0.0;
        return suv_ / n() - (su_ / n()) * (sv_ / n());
    }

    // Least-squares line of u on v over a full window: slope cov / var_v and
    // intercept mean_u - slope x mean_v; when v does not vary, slope 0 and intercept
    // mean_u.
    struct Line {
        double slope;
        double intercept;
    };
    double slope() const {
        const double var = var_v();
        if (var == 0.0) return 0.0;
        return cov() / var;
    }
    Line line() const {
        const double var = var_v();
        if (var == 0.0) return {0.0, mean_u()};
        const double slope = cov() / var;
        return {slope, mean_u() - slope * mean_v()};
    }

    // The raw sums of the u series, for kinds with their own variance formula.
    double anchor_u() const { return ku_; }
    double sum_u() const { return su_; }
    double sum_uu() const { return suu_; }

private:
    // max(0, v); a NaN gives 0.
    static double floor0(double v) { return v > 0.0 ? v : 0.0; }

    void rebuild() {
        double tu = 0.0, tv = 0.0;
        window_.for_each([&](const Pair& p) {
            tu = tu + p.u;
            tv = tv + p.v;
        });
        const double count = static_cast<double>(window_.size());
        ku_ = tu / count;
        kv_ = tv / count;
        double su = 0.0, sv = 0.0, suu = 0.0, svv = 0.0, suv = 0.0;
        window_.for_each([&](const Pair& p) {
            const double du = p.u - ku_;
            const double dv = p.v - kv_;
            su = su + du;
            sv = sv + dv;
            suu = suu + du * du;
            svv = svv + dv * dv;
            suv = suv + du * dv;
        });
        su_ = su;
        sv_ = sv;
        suu_ = suu;
        svv_ = svv;
        suv_ = suv;
        pushes_since_anchor_ = 0;
    }

    Ring<Pair> window_;
    EqualRun run_u_;
    EqualRun run_v_;
    std::size_t period_;
    double ku_ = 0.0, kv_ = 0.0;
    double su_ = 0.0, sv_ = 0.0, suu_ = 0.0, svv_ = 0.0, suv_ = 0.0;
    std::size_t pushes_since_anchor_ = 0;
    bool anchor_set_ = false;
};

// A correlation limited to [-1, 1] against rounding (a NaN stays NaN).
inline double clamp_unit(double c) {
    if (c > 1.0) return 1.0;
    if (c < -1.0) return -1.0;
    return c;
}

// cov / sqrt(var_u x var_v) of a full window, 0 when the product is 0, clamped.
inline double clamped_correlation(const AnchoredPairSums& s) {
    const double p = s.var_u() * s.var_v();
    if (p == 0.0) return 0.0;
    return clamp_unit(s.cov() / std::sqrt(p));
}

}  // namespace ostrel::core
