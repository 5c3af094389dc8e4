// Awesome oscillator core: a fast and a slow simple average of the median price,
// both stepped on every bar. Held by the awesome, accelerator and histogram kinds.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::core {

class AwesomeOscillator {
public:
    static Expected<AwesomeOscillator, IndicatorError> make(std::size_t fast, std::size_t slow) {
        if (fast == 0 || slow == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("AO fast period must be strictly less than slow");
        if (fast > MAX_PERIOD || slow > MAX_PERIOD) return IndicatorError::too_long();
        return AwesomeOscillator(*Sma::make(fast), *Sma::make(slow));
    }

    // Takes the high and low of a checked candle; fast minus slow once both are ready.
    std::optional<double> step(double high, double low) {
        double m = midpoint(high, low);
        auto f = fast_.step(m);
        auto s = slow_.step(m);
        if (!f || !s) return std::nullopt;
        return *f - *s;
    }

    std::size_t fast() const { return fast_.period(); }
    std::size_t slow() const { return slow_.period(); }

private:
    AwesomeOscillator(Sma fast, Sma slow) : fast_(std::move(fast)), slow_(std::move(slow)) {}

    Sma fast_;
    Sma slow_;
};

}  // namespace ostrel::core
