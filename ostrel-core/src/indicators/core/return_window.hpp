// A window of per-step values derived from consecutive prices (log returns and the
// like): the previous accepted price, the embedding kind's last result, a ring of the
// last `period` values and a running sum of their contributions that is recomputed
// from the ring every `period` pushes, and a count of the trailing equal values (a
// ring of zero returns is told apart from the residue its running sum keeps).
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/core/equal_run.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

struct ReturnWindow {
    static Expected<ReturnWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return ReturnWindow(period);
    }

    // The natural-log return of p against the previous accepted price, which p then
    // replaces; nothing for the first price. p must be finite and above 0.
    std::optional<double> log_return(double p) {
        if (!prev_close) {
            prev_close = p;
            return std::nullopt;
        }
        double r = std::log(p / *prev_close);
        prev_close = p;
        return r;
    }

    // Appends v, whose share of `sum` is contribution(v). A full ring first drops its
    // oldest value and subtracts that value's share. Every `period` pushes the sum is
    // recomputed over the ring, oldest to newest, from negative zero.
    template <class C>
    void push(double v, C contribution) {
        if (ring.full()) {
            double o = ring.oldest();
            ring.pop_oldest();
            sum = sum - contribution(o);
        }
        ring.push(v);
        run.push(v);
        sum = sum + contribution(v);
        if (++updates_since_rebuild == period) {
            double s = -0.0;
            ring.for_each([&](double x) { s = s + contribution(x); });
            sum = s;
            updates_since_rebuild = 0;
        }
    }

    // True when the full ring holds only zeros (both signs).
    bool all_zero() const { return run.covers(period); }

    std::optional<double> prev_close;
    std::optional<double> last;
    Ring<double> ring;
    std::size_t period;
    double sum = 0.0;
    std::size_t updates_since_rebuild = 0;
    ZeroRun run;  // the trailing run of zero values

private:
    explicit ReturnWindow(std::size_t p) : ring(p), period(p) {}
};

}  // namespace ostrel::core
