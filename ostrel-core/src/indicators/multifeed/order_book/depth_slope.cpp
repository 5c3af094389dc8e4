#include <vector>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Mean of the two sides' least-squares slopes of cumulative depth on distance from
// the quote midpoint; 0 when a side is empty or has a single level.
class DepthSlope final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const OrderBook& book = *f.order_book;
        if (book.bids.size() < 2 || book.asks.size() < 2) return 0.0;
        const double mid = midpoint(book.bids.front().price, book.asks.front().price);
        return midpoint(slope(book.bids, mid, -1.0), slope(book.asks, mid, 1.0));
    }
    std::size_t warmup_period() const override { return 1; }

private:
    // Slope of cumulative size on the distance from mid, side = -1 for bids
    // (mid - price) and +1 for asks (price - mid): (n Sxy - Sx Sy) / (n Sxx - Sx^2),
    // 0 when the denominator is exactly 0.
    static double slope(const std::vector<BookLevel>& levels, double mid, double side) {
        double cum = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
        for (const BookLevel& l : levels) {
            const double x = side < 0.0 ? mid - l.price : l.price - mid;
            cum = cum + l.size;
            sx = sx + x;
            sy = sy + cum;
            sxx = sxx + x * x;
            sxy = sxy + x * cum;
        }
        const double n = static_cast<double>(levels.size());
        const double den = n * sxx - sx * sx;
        if (den == 0.0) return 0.0;
        return (n * sxy - sx * sy) / den;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DepthSlope(std::span<const double>) { return box_kind(kinds::DepthSlope{}); }

}  // namespace ostrel::catalogue
