// The stateless kinds that set part of each checked candle against its range
// high - low: a candle without range gives 0; otherwise the kind's own
// `value(candle, range)`.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

template <class Kind>
class CandleRangeKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        if (range == 0.0) return 0.0;
        return Kind::value(*c, range);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::core
