#include <algorithm>
#include <array>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/rolling_moments.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Volatility cone: the sample standard deviation of the last `window` log returns
// of the close (per bar, not annualised), placed within the last `lookback` such
// values: their minimum, median and maximum and the percentile of the current one.
class VolatilityCone final : public Indicator {
public:
    static Expected<VolatilityCone, IndicatorError> make(std::size_t window, std::size_t lookback) {
        if (window == 0 || lookback == 0) return IndicatorError::zero_period();
        if (window < 2 || lookback < 2)
            return IndicatorError::invalid_period("volatility cone window and lookback must both be >= 2");
        // Both windows are bounded like every other window.
        if (window > MAX_PERIOD || lookback > MAX_PERIOD) return IndicatorError::too_long();
        return VolatilityCone(*core::RollingMoments::make(window), lookback);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (c->close <= 0.0) {
            // Repeats the last cone without taking the close in.
            if (!last_cone_) return std::nullopt;
            outputs_.store(*last_cone_);
            return (*last_cone_)[0];
        }
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double r = std::log(c->close / *prev_close_);
        prev_close_ = c->close;
        // The window refuses a non-finite return (a ratio of closes beyond the float
        // range), which then only moves the previous close.
        if (!returns_.push(r)) return std::nullopt;
        const double current = std::sqrt(returns_.sample_variance());
        vols_.push(current);
        if (!vols_.full()) return std::nullopt;
        const std::span<const double> v = vols_.sorted();
        const std::size_t n = v.size();
        const double median = n % 2 == 1 ? v[n / 2] : midpoint(v[n / 2 - 1], v[n / 2]);
        const auto at_most = std::upper_bound(v.begin(), v.end(), current);
        const double count = static_cast<double>(at_most - v.begin());
        const double percentile = (count / static_cast<double>(n)) * 100.0;
        last_cone_ = std::array<double, 5>{current, v[0], median, v[n - 1], percentile};
        outputs_.store(*last_cone_);
        return current;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return returns_.period() + vols_.period(); }

private:
    VolatilityCone(core::RollingMoments returns, std::size_t lookback)
        : returns_(std::move(returns)),
          vols_(lookback),
          outputs_({"current", "min", "median", "max", "percentile"}) {}

    std::optional<double> prev_close_;
    core::RollingMoments returns_;
    core::SortedWindow vols_;
    std::optional<std::array<double, 5>> last_cone_;  // current, min, median, max, percentile
    OutputSlots<5> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolatilityCone(std::span<const double> p) {
    OSTREL_TRY(window, param_usize(p, 0, "VolatilityCone"));
    OSTREL_TRY(lookback, param_usize(p, 1, "VolatilityCone"));
    return box_kind<kinds::VolatilityCone>("VolatilityCone", kinds::VolatilityCone::make(window, lookback));
}

}  // namespace ostrel::catalogue
