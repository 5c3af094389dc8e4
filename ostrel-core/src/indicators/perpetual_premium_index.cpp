#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Premium of the perpetual's mark over the index price, as a fraction of the index
// (the same figure as the funding basis; no guard on a zero index).
class PerpetualPremiumIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        return (d.mark_price - d.index_price) / d.index_price;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PerpetualPremiumIndex(std::span<const double>) { return box_kind(kinds::PerpetualPremiumIndex{}); }

}  // namespace ostrel::catalogue
