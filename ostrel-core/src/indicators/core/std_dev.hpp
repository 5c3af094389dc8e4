// Population standard deviation over the last `period` values, on the anchored
// running sums of RollingMoments.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::core {

class StdDev {
public:
    static Expected<StdDev, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return StdDev(*RollingMoments::make(period));
    }

    // sqrt(variance) once the window is full; a non-finite value gives nothing and
    // changes nothing.
    std::optional<double> step(double x) {
        if (!moments_.push(x)) return std::nullopt;
        const double result = std::sqrt(moments_.variance());
        last_ = result;
        return result;
    }

    std::size_t period() const { return moments_.period(); }
    std::optional<double> last() const { return last_; }
    const RollingMoments& moments() const { return moments_; }

private:
    explicit StdDev(RollingMoments m) : moments_(std::move(m)) {}

    std::optional<double> last_;
    RollingMoments moments_;
};

}  // namespace ostrel::core
