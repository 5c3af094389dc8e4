// A plain window whose least-squares residuals are recomputed from the oldest value
// on every full update (no running sums), for the residual spread measures.
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class ResidualWindow {
public:
    // Below `min_period` (0 included) fails with `min_detail`, then MAX_PERIOD.
    static Expected<ResidualWindow, IndicatorError> make(std::size_t period, std::size_t min_period,
                                                         const char* min_detail) {
        if (period < min_period) return IndicatorError::invalid_period(min_detail);
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return ResidualWindow(period);
    }

    // Takes one value; true when the window is full afterwards. A non-finite value
    // changes nothing and gives false.
    bool push(double y) {
        if (!std::isfinite(y)) return false;
        window_.push(y);
        return window_.full();
    }

    // Sum of squared residuals about the fitted line of a full window, every value
    // taken relative to the oldest one.
    double sse() const {
        const double n = static_cast<double>(period_);
        const double x_bar = (n - 1.0) * 0.5;
        const double sxx_c = denominator_ / n;
        const double y0 = window_.oldest();
        double sum = 0.0;
        window_.for_each([&](double y) { sum = sum + (y - y0); });
        const double y_bar = sum / n;
        double sxy_c = 0.0;
        double i = 0.0;
        window_.for_each([&](double y) {
            sxy_c = sxy_c + (i - x_bar) * ((y - y0) - y_bar);
            i += 1.0;
        });
        const double b = sxy_c / sxx_c;
        double sse = 0.0;
        i = 0.0;
        window_.for_each([&](double y) {
            double r = ((y - y0) - y_bar) - b * (i - x_bar);
            sse = sse + r * r;
            i += 1.0;
        });
        return sse;
    }

    std::size_t period() const { return period_; }
    double denominator() const { return denominator_; }

private:
    explicit ResidualWindow(std::size_t period) : window_(period), period_(period) {
        const double n = static_cast<double>(period);
        double p = (n - 1.0) * n;
        double sum_x = p * 0.5;
        denominator_ = ((p * ((n + n) - 1.0)) / 6.0) * n - sum_x * sum_x;
    }

    Ring<double> window_;
    std::size_t period_;
    double denominator_;
};

}  // namespace ostrel::core
