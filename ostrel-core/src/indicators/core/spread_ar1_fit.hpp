// Least-squares fit of a spread window on its own previous value, shared by the
// AR(1) coefficient and the Ornstein-Uhlenbeck half-life.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

// Over a full window s(0..n-1), oldest first, with m = n - 1 pairs: the slope of
// dep(i) on s(i), i = 0..n-2, where dep(i) = s(i+1), or s(i+1) - s(i) when
// `differences` is set: (sum (s(i) - mean_a)(dep(i) - mean_b) / m) / v with
// v = max(0, sum (s(i) - mean_a)^2 / m). Nothing when v is 0, and so when the
// regressors s(0..n-2) are all equal: their mean then need not come out as their
// value, and the few units in the last place left in each deviation would give the
// ratio of two residues (1 for a constant spread) instead of nothing.
inline std::optional<double> spread_ar1_slope(const Ring<double>& s, bool differences) {
    const std::size_t pairs = s.size() - 1;
    bool flat = true;
    for (std::size_t i = 1; i < pairs && flat; ++i) flat = s[i] == s[0];
    if (flat) return std::nullopt;
    const double m = static_cast<double>(pairs);
    auto dep = [&](std::size_t i) { return differences ? s[i + 1] - s[i] : s[i + 1]; };
    double sum_a = 0.0, sum_b = 0.0;
    for (std::size_t i = 0; i < pairs; ++i) {
        sum_a = sum_a + s[i];
        sum_b = sum_b + dep(i);
    }
    const double mean_a = sum_a / m;
    const double mean_b = sum_b / m;
    double saa = 0.0, sab = 0.0;
    for (std::size_t i = 0; i < pairs; ++i) {
        const double da = s[i] - mean_a;
        saa = saa + da * da;
        sab = sab + da * (dep(i) - mean_b);
    }
    double v = saa / m;
    if (!(v > 0.0)) v = 0.0;
    if (v == 0.0) return std::nullopt;
    return (sab / m) / v;
}

}  // namespace ostrel::core
