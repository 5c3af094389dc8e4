#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Best ask less best bid in basis points of their midpoint; 0 when a side is
// empty (no guard on a zero midpoint).
class QuotedSpread final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const auto q = core::best_quote(f.order_book);
        if (!q) return 0.0;
        const double bid = q->bid.price;
        const double ask = q->ask.price;
        return 10000.0 * (ask - bid) / midpoint(bid, ask);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_QuotedSpread(std::span<const double>) { return box_kind(kinds::QuotedSpread{}); }

}  // namespace ostrel::catalogue
