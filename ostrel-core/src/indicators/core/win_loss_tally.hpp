// Counts and sums of a window's gains and losses, read oldest to newest; a zero is
// neither. Shared by the payoff-ratio kinds.
#pragma once

#include <cstddef>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct WinLossTally {
    std::size_t wins = 0;
    std::size_t losses = 0;
    double gains = 0.0;
    double lost = 0.0;  // sum of the losses' magnitudes

    static WinLossTally of(const Ring<double>& window) {
        WinLossTally t;
        window.for_each([&](double v) {
            if (v > 0.0) {
                ++t.wins;
                t.gains = t.gains + v;
            } else if (v < 0.0) {
                ++t.losses;
                t.lost = t.lost + -v;
            }
        });
        return t;
    }
};

}  // namespace ostrel::core
