// A simple moving average state with its period, shared by kinds that each apply
// their own update to it (close against its average, candle bodies, trend sign).
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/core/sma.hpp"

namespace ostrel::core {

class SmaWindow {
public:
    static Expected<SmaWindow, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(sma, Sma::make(period));
        return SmaWindow(std::move(sma));
    }

    // Sma::step: nothing for a non-finite x or before `period` values.
    std::optional<double> step(double x) { return sma_.step(x); }
    std::size_t period() const { return sma_.period(); }

private:
    explicit SmaWindow(Sma sma) : sma_(std::move(sma)) {}
    Sma sma_;
};

}  // namespace ostrel::core
