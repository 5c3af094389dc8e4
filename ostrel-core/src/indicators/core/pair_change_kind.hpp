// The kinds on the bar-to-bar changes of the close and the reference: a bar without
// both is ignored; from the second bar on, the pair of changes goes into an anchored
// pair window, and once `period` changes are in, the kind's own `value(sums)` is
// reported.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

template <class Kind>
class PairChangeKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = pair_input(f);
        if (!in) return std::nullopt;
        const std::optional<PairInput> prev = previous_;
        previous_ = *in;
        if (!prev) return std::nullopt;
        sums_.push(in->x - prev->x, in->y - prev->y);
        if (!sums_.full()) return std::nullopt;
        return Kind::value(sums_);
    }
    std::size_t warmup_period() const override { return sums_.period() + 1; }

protected:
    // The kind has checked the period.
    explicit PairChangeKind(std::size_t period) : sums_(period) {}

private:
    AnchoredPairSums sums_;
    std::optional<PairInput> previous_;
};

}  // namespace ostrel::core
