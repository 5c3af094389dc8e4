// Zero-lag exponential average core: the seeded EMA of the de-lagged value
// 2x - x[lag], lag = (period - 1) / 2.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/core/ema.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/inline_hint.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class Zlema {
public:
    static Expected<Zlema, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Zlema(period);
    }

    OSTREL_ALWAYS_INLINE std::optional<double> step(double x) {
        if (!push_finite(lagged_, x)) return std::nullopt;
        double o = lagged_.oldest();
        double d = std::fma(2.0, x, -o);
        // A non-finite d gives nothing and leaves the average; the lag window has
        // still advanced.
        return ema_.step(d);
    }

    std::size_t period() const { return ema_.period(); }
    std::size_t lag() const { return lag_; }

private:
    // The period has been checked.
    explicit Zlema(std::size_t period)
        : lagged_((period - 1) / 2 + 1), ema_(*Ema::make(period)), lag_((period - 1) / 2) {}

    Ring<double> lagged_;
    Ema ema_;
    std::size_t lag_;
};

}  // namespace ostrel::core
