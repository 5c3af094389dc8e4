// The kinds that read one figure off each derivatives tick and keep no state: a bar
// without a tick gives nothing; otherwise the kind's own `value(tick)`, from the
// first tick on.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

template <class Kind>
class DerivativesTickKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        return Kind::value(*f.derivatives);
    }
    std::size_t warmup_period() const override { return 1; }
};

// Premium of the mark over the index price, as a fraction of the index (no guard:
// a zero index gives an infinity or NaN); FundingBasis and PerpetualPremiumIndex
// report the same figure.
inline double mark_premium(const DerivativesTick& d) { return (d.mark_price - d.index_price) / d.index_price; }

}  // namespace ostrel::core
