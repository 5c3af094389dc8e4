// Percentage price oscillator state: the fast exponential average's distance from
// the slow one, in percent of the slow one (0 when the slow average is 0).
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/core/ema.hpp"

namespace ostrel::core {

class Ppo {
public:
    static Expected<Ppo, IndicatorError> make(std::size_t fast_period, std::size_t slow_period) {
        if (fast_period == 0 || slow_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period) return IndicatorError::invalid_period("PPO fast period must be < slow period");
        if (slow_period > MAX_PERIOD) return IndicatorError::too_long();
        return Ppo(*Ema::make(fast_period), *Ema::make(slow_period));
    }

    // The PPO after x (finite); nothing while either average is seeding.
    std::optional<double> step(double x) {
        const auto f = fast_.step(x);
        const auto s = slow_.step(x);
        if (!f || !s) return std::nullopt;
        const double result = *s == 0.0 ? 0.0 : (*f - *s) * 100.0 / *s;
        last_value_ = result;
        return result;
    }

    std::size_t slow_period() const { return slow_.period(); }

private:
    Ppo(Ema fast, Ema slow) : fast_(std::move(fast)), slow_(std::move(slow)) {}

    std::optional<double> last_value_;
    Ema fast_;
    Ema slow_;
};

}  // namespace ostrel::core
