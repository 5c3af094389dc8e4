#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/rolling_pair_sums.hpp"

namespace ostrel::kinds {

// Buy less sell volume over buy plus sell volume of the last `period` trades; 0
// when those trades have no volume. The sums are never re-summed: after sizes many
// orders of magnitude larger have left, a side can read below 0 while its window
// holds trades. Sizes are never negative, so each side is read not below 0, and the
// value stays within -1..1; trades of one side alone give exactly +-1.
class TradeImbalance final : public Indicator {
public:
    explicit TradeImbalance(core::RollingPairSums s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const bool any = core::for_each_trade(f, [&](const Trade& t) {
            if (t.is_sell)
                s_.add_then_replace(0.0, t.size);
            else
                s_.add_then_replace(t.size, 0.0);
        });
        if (!any || !s_.full()) return std::nullopt;
        // A window of one side's trades gives exactly +-1 (0 without any size), whatever
        // residue the other side's sum keeps.
        const bool no_buys = s_.zeros_a(), no_sells = s_.zeros_b();
        if (no_buys | no_sells) return no_sells ? (no_buys ? 0.0 : 1.0) : -1.0;
        const double buys = core::not_below_zero(s_.sum_a());
        const double sells = core::not_below_zero(s_.sum_b());
        const double total = buys + sells;
        if (!(total > 0.0)) return 0.0;
        return (buys - sells) / total;
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RollingPairSums s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TradeImbalance(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TradeImbalance"));
    return box_kind<kinds::TradeImbalance>("TradeImbalance", core::RollingPairSums::make(period));
}

}  // namespace ostrel::catalogue
