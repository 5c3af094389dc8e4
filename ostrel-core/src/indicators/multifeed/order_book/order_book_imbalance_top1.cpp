#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Size imbalance of the best levels: (bid size - ask size) / their sum; 0 when a
// side is empty or the sum is not above 0.
class OrderBookImbalanceTop1 final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const auto q = core::best_quote(f.order_book);
        if (!q) return 0.0;
        const double b = q->bid.size;
        const double a = q->ask.size;
        if (!(b + a > 0.0)) return 0.0;
        return (b - a) / (b + a);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OrderBookImbalanceTop1(std::span<const double>) { return box_kind(kinds::OrderBookImbalanceTop1{}); }

}  // namespace ostrel::catalogue
