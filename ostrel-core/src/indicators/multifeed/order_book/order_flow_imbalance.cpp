#include <optional>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Order-flow imbalance of the best quotes summed over the last `period` book
// changes: bid-side size added or withdrawn less ask-side size added or withdrawn.
// A book that does not change gives flows of 0, and a window of them sums to exactly
// 0, whatever residue the running sum keeps of the flows that left it.
class OrderFlowImbalance final : public Indicator {
public:
    static Expected<OrderFlowImbalance, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(sums, core::RollingSums::make(period));
        return OrderFlowImbalance(std::move(sums));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto q = core::best_quote(f.order_book);
        if (!q) return std::nullopt;
        const std::optional<core::BestQuote> prev = previous_;
        previous_ = *q;
        if (!prev) return std::nullopt;
        // [c] x size with [c] 1 when c holds, else 0 (a NaN comparison gives 0).
        const double pb = q->bid.price, qb = q->bid.size;
        const double pa = q->ask.price, qa = q->ask.size;
        const double pb0 = prev->bid.price, qb0 = prev->bid.size;
        const double pa0 = prev->ask.price, qa0 = prev->ask.size;
        const double bid_in = (pb >= pb0 ? 1.0 : 0.0) * qb;
        const double bid_out = (pb <= pb0 ? 1.0 : 0.0) * qb0;
        const double ask_in = (pa <= pa0 ? 1.0 : 0.0) * qa;
        const double ask_out = (pa >= pa0 ? 1.0 : 0.0) * qa0;
        const double e = (bid_in - bid_out) - (ask_in - ask_out);
        s_.push(e);
        run_.push(e);
        if (!s_.window.full()) return std::nullopt;
        if (run_.covers(s_.period)) return 0.0;
        return s_.sum;
    }
    std::size_t warmup_period() const override { return s_.period + 1; }

private:
    explicit OrderFlowImbalance(core::RollingSums s) : s_(std::move(s)) {}

    core::RollingSums s_;
    core::ZeroRun run_;
    std::optional<core::BestQuote> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OrderFlowImbalance(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "OrderFlowImbalance"));
    return box_kind<kinds::OrderFlowImbalance>("OrderFlowImbalance", kinds::OrderFlowImbalance::make(period));
}

}  // namespace ostrel::catalogue
