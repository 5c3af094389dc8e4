// A sorted window of the last `period` closes, read by interpolated quantiles
// (the state of the interquartile range and of the quartile bands).
#pragma once

#include <cstddef>
#include <span>

#include "indicators/indicator.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::core {

class QuartileBands {
public:
    static Expected<QuartileBands, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return QuartileBands(period);
    }

    // x must be finite (the embedding kind checks it).
    void push(double x) { window_.push(x); }
    bool full() const { return window_.full(); }
    // Interpolated quantile at fraction q of the values held (window not empty).
    double quantile(double q) const { return interpolated_quantile(window_.sorted(), q); }

    std::span<const double> sorted() const { return window_.sorted(); }
    const SortedWindow& window() const { return window_; }
    std::size_t period() const { return period_; }

private:
    explicit QuartileBands(std::size_t period) : window_(period), period_(period) {}

    SortedWindow window_;
    std::size_t period_;
};

}  // namespace ostrel::core
