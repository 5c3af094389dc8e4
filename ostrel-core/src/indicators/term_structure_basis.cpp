#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Futures price against the index price, as a fraction of the index (no guard).
class TermStructureBasis final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        return (d.futures_price - d.index_price) / d.index_price;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TermStructureBasis(std::span<const double>) { return box_kind(kinds::TermStructureBasis{}); }

}  // namespace ostrel::catalogue
