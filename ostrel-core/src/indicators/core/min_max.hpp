// The larger and the smaller of two values, a NaN ignored, with one rule for a tie:
// when the operands compare equal (+0 and -0 among them) the first one is returned.
// std::fmax and std::fmin leave the sign of a zero tie to the platform (the C
// library, the compiler and the processor's instructions differ), and a value's
// sign bit must be the same on every machine. The rule is the one x86-64's C library
// follows, so results there are unchanged.
//
// Plain comparisons: without fast-math the compiler keeps their semantics exactly
// and cannot substitute a max or min instruction that treats zeros otherwise.
#pragma once

#include <cmath>

namespace ostrel::core {

// b when a is NaN (a NaN when both are), a when b is NaN, else the larger; a on a tie.
inline double max_ignoring_nan(double a, double b) {
    if (std::isnan(a)) return b;
    return b > a ? b : a;
}

// b when a is NaN (a NaN when both are), a when b is NaN, else the smaller; a on a tie.
inline double min_ignoring_nan(double a, double b) {
    if (std::isnan(a)) return b;
    return b < a ? b : a;
}

// A value whose exact counterpart never exceeds `hi` (or leaves lo..hi), as read:
// rounding of a ratio, or a residue in the sums it divides, can take it just past
// the bound. A value within the bounds (either zero among them) and a NaN pass
// through unchanged.
inline double not_above(double x, double hi) { return x > hi ? hi : x; }
inline double not_below(double x, double lo) { return x < lo ? lo : x; }
inline double within(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }

// A running sum of terms that are never negative, as read: a residue of the terms that
// have left the window can take it below 0, where the exact sum is 0. A NaN stays NaN
// and -0 stays -0.
inline double not_below_zero(double x) { return not_below(x, 0.0); }

}  // namespace ostrel::core
