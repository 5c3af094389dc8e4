#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Size imbalance over the first `levels` levels of each side (fewer when a side is
// shallower): (B - A) / (B + A), 0 when the total is not above 0.
class OrderBookImbalanceTopN final : public Indicator {
public:
    static Expected<OrderBookImbalanceTopN, IndicatorError> make(std::size_t levels) {
        if (auto e = check_period(levels)) return *e;
        return OrderBookImbalanceTopN(levels);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const OrderBook& book = *f.order_book;
        const std::size_t nb = book.bids.size() < levels_ ? book.bids.size() : levels_;
        const std::size_t na = book.asks.size() < levels_ ? book.asks.size() : levels_;
        return core::depth_imbalance(book, nb, na);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit OrderBookImbalanceTopN(std::size_t levels) : levels_(levels) {}

    std::size_t levels_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OrderBookImbalanceTopN(std::span<const double> p) {
    OSTREL_TRY(levels, param_usize(p, 0, "OrderBookImbalanceTopN"));
    return box_kind<kinds::OrderBookImbalanceTopN>("OrderBookImbalanceTopN", kinds::OrderBookImbalanceTopN::make(levels));
}

}  // namespace ostrel::catalogue
