// The equity walk shared by the episode-based drawdown ratios: the window's returns
// compound an equity curve from 1.0 with a peak starting at 1.0; a drawdown episode
// opens when equity falls below the peak and closes when it regains it (or when the
// window ends), its depth being (peak - trough) / peak.
#pragma once

#include <cstddef>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

// Walks `returns` oldest first; calls on_depth(depth) for every closed episode and
// returns the plain sum of the returns.
template <class F>
double walk_equity_episodes(const Ring<double>& returns, F&& on_depth) {
    double total = 0.0, equity = 1.0, peak = 1.0, trough = 0.0;
    bool open = false;
    returns.for_each([&](double r) {
        total = total + r;
        equity = equity * (1.0 + r);
        if (equity >= peak) {
            if (open) on_depth((peak - trough) / peak);
            open = false;
            peak = equity;
        } else if (!open) {
            open = true;
            trough = equity;
        } else if (equity < trough) {
            trough = equity;
        }
    });
    if (open) on_depth((peak - trough) / peak);
    return total;
}

}  // namespace ostrel::core
