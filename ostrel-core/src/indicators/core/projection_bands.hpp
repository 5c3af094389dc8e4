// Projection bands: the highs and lows of the last `period` candles, each projected
// forward to the newest bar along the least-squares slope of its own window. Shared
// by the projection bands and the projection oscillator. A window of equal highs (or
// lows) is level: its slope is exactly 0, so its value is projected unchanged.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct ProjectionBandsLines {
    double upper;
    double middle;
    double lower;
};

class ProjectionBands {
public:
    static Expected<ProjectionBands, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("projection bands need period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return ProjectionBands(period);
    }

    // Takes the high and low of a checked candle; the bands once the window is full.
    std::optional<ProjectionBandsLines> step(double high, double low) {
        if (highs_.full()) {
            highs_.pop_oldest();
            lows_.pop_oldest();
        }
        highs_.push(high);
        lows_.push(low);
        high_run_.push(high);
        low_run_.push(low);
        if (!highs_.full()) return std::nullopt;
        double bh = high_run_.covers(period_) ? 0.0 : slope(highs_);
        double bl = low_run_.covers(period_) ? 0.0 : slope(lows_);
        const double last = static_cast<double>(period_ - 1);
        double upper = -std::numeric_limits<double>::infinity();
        double lower = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < period_; ++i) {
            double k = last - static_cast<double>(i);
            double ph = bh * k + highs_[i];
            double pl = bl * k + lows_[i];
            if (ph > upper) upper = ph;
            if (pl < lower) lower = pl;
        }
        return ProjectionBandsLines{upper, midpoint(upper, lower), lower};
    }

    // Least-squares slope of a full window, x = 0 for its oldest entry, on the
    // values centred about their mean.
    double slope(const Ring<double>& w) const {
        const double n = static_cast<double>(period_);
        double total = 0.0;
        w.for_each([&](double v) { total = total + v; });
        double mean = total / n;
        double sxy = 0.0, sy = 0.0, x = 0.0;
        w.for_each([&](double v) {
            double y = v - mean;
            sxy = sxy + x * y;
            sy = sy + y;
            x += 1.0;
        });
        return (sxy * n - sy * sum_x_) / (sum_xx_ * n - sum_x_ * sum_x_);
    }

    std::size_t period() const { return period_; }

private:
    explicit ProjectionBands(std::size_t period) : highs_(period), lows_(period), period_(period) {
        const double n = static_cast<double>(period);
        double t = (n - 1.0) * n;
        sum_x_ = t * 0.5;
        sum_xx_ = t * ((n + n) - 1.0) / 6.0;
    }

    Ring<double> highs_;
    Ring<double> lows_;
    EqualRun high_run_;
    EqualRun low_run_;
    std::size_t period_;
    double sum_x_;
    double sum_xx_;
};

}  // namespace ostrel::core
