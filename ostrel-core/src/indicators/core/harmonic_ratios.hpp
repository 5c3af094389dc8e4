// Ratio checks of the harmonic patterns: windows of Fibonacci ratios between the
// legs of a swing-pivot formation. A matching formation is bullish when its newest
// pivot is a swing low and bearish when it is a swing high.
#pragma once

#include <cmath>

#include "indicators/core/swing_pattern.hpp"

namespace ostrel::core {

struct RatioWindow {
    double lo;
    double hi;
};

// The code of a harmonic formation whose conditions have been tested.
inline double harmonic_code(bool matched, const SwingPivot& newest) {
    if (!matched) return 0.0;
    return newest.direction < 0 ? 1.0 : -1.0;
}

// The four windows of an X-A-B-C-D formation, tested in this order:
// |AB/XA|, |BC/AB|, |CD/BC|, |AD/XA|.
struct XabcdRatios {
    RatioWindow ab_xa;
    RatioWindow bc_ab;
    RatioWindow cd_bc;
    RatioWindow ad_xa;

    double code(const SwingPivots<5>& p) const {
        const double x = p[0].price, a = p[1].price, b = p[2].price, c = p[3].price, d = p[4].price;
        const double xa = a - x, ab = b - a, bc = c - b, cd = d - c, ad = d - a;
        const bool matched = in(std::fabs(ab / xa), ab_xa) && in(std::fabs(bc / ab), bc_ab) &&
                             in(std::fabs(cd / bc), cd_bc) && in(std::fabs(ad / xa), ad_xa);
        return harmonic_code(matched, p[4]);
    }

    static bool in(double r, const RatioWindow& w) { return swing_in_window(r, w.lo, w.hi); }
};

}  // namespace ostrel::core
