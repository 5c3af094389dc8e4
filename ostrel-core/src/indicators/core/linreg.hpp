// Least-squares line over a window (x = 0 oldest .. n - 1 newest), on sums of
// y - K anchored like the Bollinger window and re-anchored every n values. The line
// of a window of equal values is level: its slope is exactly 0 whatever residue the
// sums keep, and the intercept is then the sums' mean.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/inline_hint.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class RegressionWindow {
public:
    // The regression kinds' checks: below 2 (0 included) fails with the kind's own
    // detail, then the MAX_PERIOD check.
    static Expected<RegressionWindow, IndicatorError> make(std::size_t period, const char* min_detail) {
        if (period < 2) return IndicatorError::invalid_period(min_detail);
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return RegressionWindow(period);
    }

    // The embedding kind has checked period >= 2.
    explicit RegressionWindow(std::size_t period) : window_(period), period_(period) {
        const double n = static_cast<double>(period);
        double p = (n - 1.0) * n;
        sum_x_ = p * 0.5;
        denominator_ = ((p * ((n + n) - 1.0)) / 6.0) * n - sum_x_ * sum_x_;
    }

    // Takes one value; true when the window is full afterwards. Non-finite values
    // change nothing and give false.
    OSTREL_ALWAYS_INLINE bool push(double y) {
        if (!std::isfinite(y)) return false;
        run_.push(y);
        if (window_.full()) {
            double d = window_.oldest() - anchor_;
            sum_xy_ = d + (sum_xy_ - sum_y_);
            sum_y_ = sum_y_ - d;
            sum_yy_ = sum_yy_ - d * d;
            window_.pop_oldest();
        }
        double i = static_cast<double>(window_.size());
        window_.push(y);
        if (!anchor_set_) {
            anchor_ = y;
            anchor_set_ = true;
        }
        double e = y - anchor_;
        sum_y_ = sum_y_ + e;
        sum_xy_ = sum_xy_ + i * e;
        sum_yy_ = sum_yy_ + e * e;
        if (++pushes_since_anchor_ == period_) reanchor();
        return window_.full();
    }

    // Slope b of the fitted line (window full); 0 for a flat window.
    double slope() const {
        if (flat()) return 0.0;
        const double n = static_cast<double>(period_);
        return (sum_xy_ * n - sum_x_ * sum_y_) / denominator_;
    }
    // Intercept a at x = 0 for a given slope (window full).
    double intercept(double b) const {
        const double n = static_cast<double>(period_);
        return anchor_ + (sum_y_ - sum_x_ * b) / n;
    }
    // The line's value at the newest point: (n - 1) b + a.
    double fitted_last() const {
        double b = slope();
        double a = intercept(b);
        return (static_cast<double>(period_) - 1.0) * b + a;
    }

    // LinearRegression::step: the fitted value at the newest point once full.
    std::optional<double> step(double y) {
        if (!push(y)) return std::nullopt;
        return fitted_last();
    }

    // True when the last `period` accepted values are all equal.
    bool flat() const { return run_.covers(period_); }
    std::size_t period() const { return period_; }
    bool full() const { return window_.full(); }
    const Ring<double>& window() const { return window_; }
    double anchor() const { return anchor_; }
    double sum_x() const { return sum_x_; }
    double denominator() const { return denominator_; }
    double sum_y() const { return sum_y_; }
    double sum_xy() const { return sum_xy_; }
    double sum_yy() const { return sum_yy_; }

private:
    // Every n values: a new anchor at the window's mean and the sums recomputed from
    // the window, so that the running sums' rounding does not accumulate.
    OSTREL_OUT_OF_LINE void reanchor() {
        anchor_ = mean_oldest_first(window_);
        double sy = 0.0, sxy = 0.0, syy = 0.0, x = 0.0;
        window_.for_each([&](double v) {
            double ev = v - anchor_;
            sy = sy + ev;
            sxy = sxy + x * ev;
            syy = syy + ev * ev;
            x += 1.0;
        });
        sum_y_ = sy;
        sum_xy_ = sxy;
        sum_yy_ = syy;
        pushes_since_anchor_ = 0;
    }

    Ring<double> window_;
    std::size_t period_;
    double anchor_ = 0.0;
    bool anchor_set_ = false;
    double sum_y_ = 0.0;
    double sum_xy_ = 0.0;
    double sum_yy_ = 0.0;
    std::size_t pushes_since_anchor_ = 0;
    EqualRun run_;
    double sum_x_;
    double denominator_;
};

// LinRegSlope::step: advances the window with y and gives the slope once full.
struct LinRegSlope {
    static std::optional<double> step(RegressionWindow& w, double y) {
        if (!w.push(y)) return std::nullopt;
        return w.slope();
    }
};

}  // namespace ostrel::core
