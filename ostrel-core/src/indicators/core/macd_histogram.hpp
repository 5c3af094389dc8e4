// MACD histogram state: fast and slow exponential averages of the close, a signal
// average of their difference, and the histogram macd - signal.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/core/ema.hpp"

namespace ostrel::core {

class MacdHistogram {
public:
    struct Triple {
        double macd;
        double signal;
        double histogram;
    };

    static Expected<MacdHistogram, IndicatorError> make(std::size_t fast_period, std::size_t slow_period,
                                                        std::size_t signal_period) {
        if (fast_period == 0 || slow_period == 0 || signal_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period)
            return IndicatorError::invalid_period("fast period must be strictly less than slow period");
        if (fast_period > MAX_PERIOD || slow_period > MAX_PERIOD || signal_period > MAX_PERIOD)
            return IndicatorError::too_long();
        return MacdHistogram(*Ema::make(fast_period), *Ema::make(slow_period), *Ema::make(signal_period));
    }

    // The histogram after x (finite); nothing while a stage is seeding or when the
    // difference of the averages is not finite.
    std::optional<double> step(double x) {
        const auto f = fast_.step(x);
        const auto s = slow_.step(x);
        if (!f || !s) return std::nullopt;
        const double macd = *f - *s;
        if (!std::isfinite(macd)) return std::nullopt;
        const auto sig = signal_.step(macd);
        if (!sig) return std::nullopt;
        last_ = Triple{macd, *sig, macd - *sig};
        return last_->histogram;
    }

    // Updates before the first histogram.
    std::size_t warmup_period() const { return slow_.period() + signal_.period() - 1; }
    std::size_t slow_period() const { return slow_.period(); }
    std::size_t signal_period() const { return signal_.period(); }
    const std::optional<Triple>& last() const { return last_; }

private:
    MacdHistogram(Ema fast, Ema slow, Ema signal)
        : fast_(std::move(fast)), slow_(std::move(slow)), signal_(std::move(signal)) {}

    std::optional<Triple> last_;
    Ema fast_;
    Ema slow_;
    Ema signal_;
};

}  // namespace ostrel::core
