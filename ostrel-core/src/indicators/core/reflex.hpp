// State shared by the reflex and trendflex oscillators: a super smoother over half
// the period feeding a ring of the last `period` + 1 filtered values, and the mean
// square that normalises the result. While every close so far is the same value the
// exact smoothed values are all that value and both oscillators are exactly 0; the
// ring and the mean square keep their rounded arithmetic (a residue of a unit in the
// last place, divided by its own size, would give anything in [-5, 5]).
#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/core/cycle_filters.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct FlexState {
    static Expected<FlexState, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return FlexState{SuperSmoother::over(static_cast<double>(period) / 2.0), Ring<double>(period + 1), period, 0.0, {}};
    }

    // Smooths x into the ring; true once the ring holds `period` + 1 values.
    bool push(double x) {
        filtered.push(smoother.step(x));
        closes.push(x);
        return filtered.full();
    }

    // The oscillator's value: exactly 0 while every close so far is the same value
    // (a zero of either sign is left as it is).
    double answer(double value) const { return closes.constant_from_start() && value != 0.0 ? 0.0 : value; }

    // Normalises the mean deviation m by the root of its running mean square.
    double normalise(double m) {
        mean_square = 0.04 * (m * m) + 0.96 * mean_square;
        return mean_square > 0.0 ? m / std::sqrt(mean_square) : 0.0;
    }

    SuperSmoother smoother;
    Ring<double> filtered;  // filtered.back(k) is the value k updates back
    std::size_t period;
    double mean_square;
    EqualRun closes;
};

}  // namespace ostrel::core
