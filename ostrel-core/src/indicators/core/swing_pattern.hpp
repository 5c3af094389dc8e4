// Shared frame of the chart- and harmonic-pattern kinds: each owns a swing tracker
// (reversal fraction 0.05) bounded to the N pivots its formation spans, and judges
// the formation only on the bar that confirms its last pivot.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/swing_tracker.hpp"

namespace ostrel::core {

inline constexpr double SWING_THRESHOLD = 0.05;
// Smallest positive normal double: the floor of the scale in relative closeness.
inline constexpr double SWING_NEAR_FLOOR = 2.2250738585072014e-308;

// Relative closeness: |a - b| <= f * max(|a|, |b|, smallest normal).
inline bool swing_near(double a, double b, double f) {
    const double scale = std::max(std::max(std::fabs(a), std::fabs(b)), SWING_NEAR_FLOOR);
    return std::fabs(a - b) <= f * scale;
}

// x in [lo, hi], both ends included; NaN and infinities from a zero leg never are.
inline bool swing_in_window(double x, double lo, double hi) { return lo <= x && x <= hi; }

// The last N pivots, oldest first.
template <std::size_t N>
using SwingPivots = std::array<SwingPivot, N>;

// Highs and lows of a four-pivot formation; H1/L1 the earlier, H2/L2 the later.
struct FourPivotSides {
    double h1, h2, l1, l2;
    bool last_high;

    static FourPivotSides of(const SwingPivots<4>& p) {
        if (p[3].direction > 0) return {p[1].price, p[3].price, p[0].price, p[2].price, true};
        return {p[0].price, p[2].price, p[1].price, p[3].price, false};
    }
};

// Base of the pattern kinds. Derived supplies
//   double test(const SwingPivots<N>&) const
// returning +1, -1 or 0. No value until the tracker holds N pivots; then 0 on every
// bar that confirms no pivot, and the test's code on a bar that does.
template <class Derived, std::size_t N>
class SwingPattern : public Indicator {
    static_assert(N >= 3, "pattern formations span at least three pivots");

public:
    SwingPattern() : tracker_(SWING_THRESHOLD, N) {}

    std::optional<double> update(const FeedSnapshot& f) final {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        const bool fired = tracker_.step(c->high, c->low);
        if (tracker_.size() < N) return std::nullopt;
        if (!fired) return 0.0;
        SwingPivots<N> p;
        for (std::size_t i = 0; i < N; ++i) p[i] = tracker_.pivot(i);
        return static_cast<const Derived&>(*this).test(p);
    }
    std::size_t warmup_period() const final { return N + 1; }

private:
    SwingTracker tracker_;
};

}  // namespace ostrel::core
