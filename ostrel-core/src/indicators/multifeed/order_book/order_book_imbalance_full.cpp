#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Size imbalance over all levels of the book: (B - A) / (B + A); an empty side
// counts as 0, and the result is 0 when the total is not above 0.
class OrderBookImbalanceFull final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const OrderBook& book = *f.order_book;
        return core::depth_imbalance(book, book.bids.size(), book.asks.size());
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OrderBookImbalanceFull(std::span<const double>) { return box_kind(kinds::OrderBookImbalanceFull{}); }

}  // namespace ostrel::catalogue
