#include "catalogue/params.hpp"

namespace ostrel::kinds {

// The funding rate of the bar's derivatives record.
class FundingRate final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        return d.funding_rate;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingRate(std::span<const double>) { return box_kind(kinds::FundingRate{}); }

}  // namespace ostrel::catalogue
