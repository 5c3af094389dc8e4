// The three stages of the Hull averages, on any average type with `make(period)` and
// `step(x)`: a half-length and a full-length average of the input, and a smoothing
// average of round(sqrt(period)) values of 2 half - full. Any check between the
// difference and the smoothing is the embedding kind's.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace ostrel::core {

template <class Stage>
class HullStages {
public:
    // The period must be valid (checked by the embedding kind).
    explicit HullStages(std::size_t period)
        : period_(period),
          half_(*Stage::make(period < 2 ? 1 : period / 2)),
          full_(*Stage::make(period)),
          smoothing_(*Stage::make(smoothing_length(period))) {}

    // 2 half(x) - full(x), once both averages give a value.
    std::optional<double> difference(double x) {
        auto h = half_.step(x);
        auto full = full_.step(x);
        if (!h || !full) return std::nullopt;
        return (*h + *h) - *full;
    }
    std::optional<double> smooth(double d) { return smoothing_.step(d); }

    std::size_t warmup_period() const { return period_ + smoothing_length(period_) - 1; }

    // max(round(sqrt(period)), 1)
    static std::size_t smoothing_length(std::size_t period) {
        auto r = static_cast<std::size_t>(std::llround(std::sqrt(static_cast<double>(period))));
        return std::max<std::size_t>(r, 1);
    }

private:
    std::size_t period_;
    Stage half_;
    Stage full_;
    Stage smoothing_;
};

}  // namespace ostrel::core
