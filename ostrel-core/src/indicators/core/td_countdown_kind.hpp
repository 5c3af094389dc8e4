// The kinds that yield the DeMark sequential core's countdown alone (sequential or
// combo rule): a candle that fails its checks is ignored; each accepted one steps
// the core and, once it gives a value, yields the countdown of the active direction.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/td_sequential.hpp"

namespace ostrel::core {

class TdCountdownKind : public Indicator {
public:
    explicit TdCountdownKind(TdSequentialCore core) : core_(std::move(core)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        if (!core_.step(*c)) return std::nullopt;
        return core_.countdown_value();
    }
    std::size_t warmup_period() const override { return core_.warmup_period(); }

private:
    TdSequentialCore core_;
};

}  // namespace ostrel::core
