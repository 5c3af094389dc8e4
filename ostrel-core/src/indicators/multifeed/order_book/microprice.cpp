#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Size-weighted mid of the best levels, (pb x qa + pa x qb) / (qb + qa), or their
// plain midpoint when both sizes are 0; 0 when a side is empty.
class Microprice final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.order_book) return std::nullopt;
        const auto q = core::best_quote(f.order_book);
        if (!q) return 0.0;
        const double pb = q->bid.price, qb = q->bid.size;
        const double pa = q->ask.price, qa = q->ask.size;
        if (!(qb + qa > 0.0)) return midpoint(pb, pa);
        return (pb * qa + pa * qb) / (qb + qa);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Microprice(std::span<const double>) { return box_kind(kinds::Microprice{}); }

}  // namespace ostrel::catalogue
