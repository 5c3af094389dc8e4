// The state of the regression channels of the close (the linear-regression channel
// and the standard-error bands): the last `period` closes, refitted on every update
// by least squares on the values centred about their mean (x = 0 for the oldest);
// and the kind core that reports the fitted line and the bands around it. The fit of
// a window of equal closes is level with no residuals (slope and residual sum exactly
// 0, so the bands meet the line), whatever rounding the centred values carry.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <utility>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct RegressionFit {
    double middle;  // the fitted line at the newest point
    double ssr;     // sum of squared residuals
};

class RegressionChannel {
public:
    // Below `min_period` (0 included) fails with the kind's own detail, then the
    // MAX_PERIOD check, then the multiplier.
    static Expected<RegressionChannel, IndicatorError> make(std::size_t period, double multiplier,
                                                            std::size_t min_period, const char* min_detail) {
        if (period < min_period) return IndicatorError::invalid_period(min_detail);
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return RegressionChannel(period, multiplier);
    }

    // Takes a close; the fit once the window is full. A non-finite close changes
    // nothing and gives nothing.
    std::optional<RegressionFit> step(double close) {
        if (!std::isfinite(close)) return std::nullopt;
        closes_.push(close);
        run_.push(close);
        if (!closes_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double total = 0.0;
        closes_.for_each([&](double v) { total = total + v; });
        const double mean = total / n;
        double sy = 0.0, sxy = 0.0, x = 0.0;
        closes_.for_each([&](double v) {
            double y = v - mean;
            sy = sy + y;
            sxy = sxy + y * x;
            x += 1.0;
        });
        const bool flat = run_.covers(period_);
        const double b = flat ? 0.0 : (n * sxy - sum_x_ * sy) / (n * sum_xx_ - sum_x_ * sum_x_);
        const double a = (sy - sum_x_ * b) / n;
        double ssr = 0.0;
        x = 0.0;
        closes_.for_each([&](double v) {
            double e = (v - mean) - (a + b * x);
            ssr = ssr + e * e;
            x += 1.0;
        });
        return RegressionFit{(n - 1.0) * b + (mean + a), flat ? 0.0 : ssr};
    }

    std::size_t period() const { return period_; }
    double multiplier() const { return multiplier_; }

private:
    RegressionChannel(std::size_t period, double multiplier)
        : closes_(period), period_(period), multiplier_(multiplier) {
        const double n = static_cast<double>(period);
        const double t = (n - 1.0) * n;
        sum_x_ = t * 0.5;
        sum_xx_ = (t * ((n + n) - 1.0)) / 6.0;
    }

    Ring<double> closes_;
    EqualRun run_;
    std::size_t period_;
    double multiplier_;
    double sum_x_;
    double sum_xx_;
};

// The bands of a regression channel: "middle" is the fitted line at the newest point,
// "upper" and "lower" add and take off the kind's own `deviation(ssr, period)` times
// the multiplier; the value is the upper band.
template <class Kind>
class RegressionBandsKind : public Indicator {
public:
    explicit RegressionBandsKind(RegressionChannel s) : s_(std::move(s)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto fit = s_.step(f.candle.close);
        if (!fit) return std::nullopt;
        double w = Kind::deviation(fit->ssr, s_.period()) * s_.multiplier();
        outputs_.store({fit->middle + w, fit->middle, fit->middle - w});
        return fit->middle + w;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    RegressionChannel s_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::core
