// The lag-difference kinds on the close: a non-finite close is ignored; once
// `period` + 1 closes are in, each close is set against the one `period` closes back
// by the kind's own `value(close, old)`.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/indicator.hpp"
#include "indicators/core/lag_window.hpp"

namespace ostrel::core {

template <class Kind>
class CloseLagKind : public Indicator {
public:
    explicit CloseLagKind(LagWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto old = w_.push(close);
        if (!old) return std::nullopt;
        w_.last = Kind::value(close, *old);
        return w_.last;
    }
    std::size_t warmup_period() const override { return w_.period() + 1; }

private:
    LagWindow w_;
};

}  // namespace ostrel::core
