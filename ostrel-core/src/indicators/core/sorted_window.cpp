#include "indicators/core/sorted_window.hpp"

#include <algorithm>
#include <cmath>

namespace ostrel::core {

namespace sorted_window_detail {

std::size_t lower_bound_total(const std::vector<double>& v, double x) {
    const std::int64_t k = total_order_key(x);
    auto it = std::partition_point(v.begin(), v.end(), [k](double e) { return total_order_key(e) < k; });
    return static_cast<std::size_t>(it - v.begin());
}

}  // namespace sorted_window_detail

void SortedWindow::push(double x) {
    if (arrivals_.full()) {
        double o = arrivals_.oldest();
        arrivals_.pop_oldest();
        sorted_.erase(sorted_.begin() + static_cast<std::ptrdiff_t>(sorted_window_detail::lower_bound_total(sorted_, o)));
    } else {
        grow_toward(sorted_, period_);
    }
    arrivals_.push(x);
    sorted_.insert(sorted_.begin() + static_cast<std::ptrdiff_t>(sorted_window_detail::lower_bound_total(sorted_, x)), x);
}

void sorted_abs_deviations(std::span<const double> sorted, double c, std::vector<double>& out) {
    out.clear();
    const std::size_t n = sorted.size();
    auto pp = std::partition_point(sorted.begin(), sorted.end(), [c](double v) { return v < c; });
    std::size_t down = static_cast<std::size_t>(pp - sorted.begin());  // next lower index is down - 1
    std::size_t up = down;
    while (down > 0 && up < n) {
        double dl = std::fabs(sorted[down - 1] - c);
        double du = std::fabs(sorted[up] - c);
        if (!total_less(du, dl)) {  // tie: the lower element first
            out.push_back(dl);
            --down;
        } else {
            out.push_back(du);
            ++up;
        }
    }
    while (down > 0) out.push_back(std::fabs(sorted[--down] - c));
    while (up < n) out.push_back(std::fabs(sorted[up++] - c));
}

}  // namespace ostrel::core
