// State of the seeded running averages (Wilder's smoothing and its relatives): the
// first `period` values are summed in arrival order and divided once.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

struct SeededWindow {
    static Expected<SeededWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        SeededWindow w{period, 0, 0.0, std::nullopt};
        return w;
    }

    // Adds one value to the seed; returns the seed mean once `period` values are in
    // (and stores it as `value`).
    std::optional<double> seed(double x) {
        seed_sum = x + seed_sum;
        if (++seed_count == period) {
            value = seed_sum / static_cast<double>(seed_count);
            return value;
        }
        return std::nullopt;
    }

    std::size_t period;
    std::size_t seed_count = 0;
    double seed_sum = 0.0;
    std::optional<double> value;
};

}  // namespace ostrel::core
