// How many of the latest values of a series are equal to the newest one, in O(1).
//
// Running and anchored window sums keep a rounding residue: n copies of 102.6 do not
// add up to n x 102.6, and the squares of values that have left a window leave a few
// units in the last place behind. In exact arithmetic a window of equal values has a
// dispersion of exactly 0, and every kind whose value on such a window is fixed (a
// deviation of 0, an oscillator at its midpoint, a ratio's zero-dispersion answer)
// asks this counter whether the run of equal values covers its window, and then
// answers that value instead of dividing a residue by a residue.
//
// +0 and -0 compare equal and count as one value. The counter only watches: it
// changes no sum, so values outside flat windows are exactly those of the sums.
#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "indicators/core/inline_hint.hpp"

namespace ostrel::core {

class EqualRun {
public:
    // Takes the series' next accepted value. The first value meets the NaN that last_
    // starts with and opens a run of 1; every later new run marks the series as not
    // constant from its start (the length of the run it ends is not 0). An equal
    // value costs a compare and an add. The branch is predicted well on a series
    // whose neighbours are mostly unequal (or mostly equal); unequal neighbours, the
    // usual case of prices, are laid out straight. The flag is a full-width copy of
    // the run length: a byte store there was measurably slower.
    OSTREL_ALWAYS_INLINE void push(double x) {
        if (x == last_) [[unlikely]] {
            ++run_;
        } else {
            runs_before_ = run_;  // 0 only on the first value
            last_ = x;
            run_ = 1;
        }
    }

    // The number of trailing values equal to the newest (0 before any value).
    std::size_t length() const { return run_; }

    // True when the last n values (n >= 1) are all equal.
    bool covers(std::size_t n) const { return run_ >= n; }

    // True when the last n values (n >= 1) are all zero, of either sign: a window of
    // zero terms, whose exact sum is 0.
    bool zeros_cover(std::size_t n) const { return run_ >= n && last_ == 0.0; }

    // True when every value pushed so far (at least one) is the same: a series that has
    // been constant from its start, for kinds whose recursion never forgets it.
    bool constant_from_start() const { return run_ != 0 && runs_before_ == 0; }

    // The newest value (meaningful once a value was pushed; NaN before).
    double last() const { return last_; }

private:
    double last_ = std::numeric_limits<double>::quiet_NaN();
    std::size_t run_ = 0;
    std::size_t runs_before_ = 0;  // not 0 once a second run has begun
};

// How many of the latest values of a series are zero (of either sign), in O(1) and
// without a branch: for a series whose zeros come and go at random (the gains of a
// random walk are 0 on about every other value), where a branch on the comparison
// would be mispredicted often. Tells a window of zero terms like
// EqualRun::zeros_cover.
class ZeroRun {
public:
    OSTREL_ALWAYS_INLINE void push(double x) {
        // An empty asm that takes x in a register: the compiler no longer sees how x
        // was chosen (a side's value is 0 on one arm of the caller's select), so it
        // does not split the caller's select into a branch to know x == 0 there.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
        asm("" : "+x"(x));
#elif (defined(__GNUC__) || defined(__clang__)) && defined(__aarch64__)
        asm("" : "+w"(x));
#endif
        run_ = (run_ + 1) & (x == 0.0 ? ~std::size_t{0} : 0);
    }

    // True when the last n values (n >= 1) are all zero.
    bool covers(std::size_t n) const { return run_ >= n; }

private:
    std::size_t run_ = 0;
};

// True when v[from], ..., v[to - 1] (at least one) are all equal: a window scanned
// afresh, where no counter watched it fill.
inline bool all_equal(const std::vector<double>& v, std::size_t from, std::size_t to) {
    for (std::size_t i = from + 1; i < to; ++i)
        if (v[i] != v[from]) return false;
    return true;
}

}  // namespace ostrel::core
