// A window kept twice: in arrival order and sorted ascending in IEEE total order
// (-0 before +0). Insertion goes before equal values. Both copies grow with the
// values received, up to the period.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

// Key whose signed-integer order is the IEEE total order of doubles.
inline std::int64_t total_order_key(double v) {
    std::int64_t i;
    std::memcpy(&i, &v, sizeof i);
    if (i < 0) i ^= 0x7fffffffffffffffLL;
    return i;
}

inline bool total_less(double a, double b) { return total_order_key(a) < total_order_key(b); }

class SortedWindow {
public:
    explicit SortedWindow(std::size_t period) : arrivals_(period), period_(period) {}

    // x must be finite (the embedding kind checks it).
    void push(double x);

    bool full() const { return arrivals_.full(); }
    std::size_t size() const { return arrivals_.size(); }
    std::size_t period() const { return period_; }
    std::span<const double> sorted() const { return sorted_; }
    const Ring<double>& arrivals() const { return arrivals_; }

private:
    Ring<double> arrivals_;
    std::vector<double> sorted_;
    std::size_t period_;
};

// |v - c| for every v of the ascending list, written to `out` in ascending order
// without sorting: two cursors walk outward from the partition point of c.
void sorted_abs_deviations(std::span<const double> sorted, double c, std::vector<double>& out);

// Linearly interpolated quantile at fraction q of an ascending, non-empty list:
// pos = q * (L - 1), i = floor(pos); s[L - 1] when i >= L - 1, else
// s[i] + (pos - floor(pos)) * (s[i + 1] - s[i]).
inline double interpolated_quantile(std::span<const double> s, double q) {
    const std::size_t m = s.size() - 1;
    const double pos = q * static_cast<double>(m);
    const double fl = std::floor(pos);
    if (!(fl < static_cast<double>(m))) return s[m];
    const std::size_t i = static_cast<std::size_t>(fl);
    return s[i] + (pos - fl) * (s[i + 1] - s[i]);
}

}  // namespace ostrel::core
