// A plain ring window of the last `period` values in arrival order, shared by the
// kinds that scan their whole window on each update, with its high-low scan; and the
// running-peak drawdown scan of such a window of levels.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct RollingWindow {
    static Expected<RollingWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingWindow{Ring<double>(period), period};
    }

    // Appends v, dropping the oldest value when the window is full.
    void push(double v) { window.push(v); }
    bool full() const { return window.full(); }

    // The step the close-window kinds open with: a non-finite v changes nothing and
    // gives false; otherwise v is appended and the answer is whether the window is full.
    bool push_finite(double v) { return core::push_finite(window, v); }

    // The highest and lowest value held, scanning oldest first; the window must not
    // be empty.
    struct HighLow {
        double high;
        double low;
    };
    HighLow high_low() const {
        double hi = window[0];
        double lo = window[0];
        for (std::size_t i = 1; i < window.size(); ++i) {
            const double v = window[i];
            if (v > hi) hi = v;
            if (v < lo) lo = v;
        }
        return {hi, lo};
    }

    Ring<double> window;
    std::size_t period;
};

// A RollingWindow that also counts the run of equal values it took, for the kinds
// whose value over a window of equal closes is fixed (their rounded sums would leave
// a residue there).
struct WatchedWindow {
    // As RollingWindow::push_finite.
    OSTREL_ALWAYS_INLINE bool push_finite(double v) {
        if (!std::isfinite(v)) return false;
        w.push(v);
        run.push(v);
        return w.full();
    }
    // Every value of the window is equal.
    bool flat() const { return run.covers(w.period); }

    RollingWindow w;
    EqualRun run;
};

// Walks `levels` oldest first with a running peak that starts at -infinity; for each
// level seen while the peak is positive, calls on_drawdown((peak - level) / peak).
template <class F>
void for_each_drawdown(const Ring<double>& levels, F&& on_drawdown) {
    double peak = -std::numeric_limits<double>::infinity();
    levels.for_each([&](double v) {
        if (v > peak) peak = v;
        if (peak > 0.0) on_drawdown((peak - v) / peak);
    });
}

}  // namespace ostrel::core
