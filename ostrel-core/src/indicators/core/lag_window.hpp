// The last `period` + 1 accepted values of a series, for kinds that compare a value
// with the one `period` values back (the lag-difference kinds, log returns, open
// interest momentum), plus the embedding kind's last result.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class LagWindow {
public:
    static Expected<LagWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return LagWindow(period);
    }

    // Appends x (dropping the oldest beyond period + 1 values); once the window is
    // full, returns the value `period` accepted values before x.
    std::optional<double> push(double x) {
        values_.push(x);
        if (!values_.full()) return std::nullopt;
        return values_.oldest();
    }

    std::size_t period() const { return period_; }
    const Ring<double>& values() const { return values_; }

    std::optional<double> last;  // the embedding kind's last result

private:
    explicit LagWindow(std::size_t period) : values_(period + 1), period_(period) {}

    Ring<double> values_;
    std::size_t period_;
};

}  // namespace ostrel::core
