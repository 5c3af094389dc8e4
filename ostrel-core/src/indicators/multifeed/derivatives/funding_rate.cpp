#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// The funding rate of the bar's derivatives record.
class FundingRate final : public core::DerivativesTickKind<FundingRate> {
public:
    static double value(const DerivativesTick& d) { return d.funding_rate; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingRate(std::span<const double>) { return box_kind(kinds::FundingRate{}); }

}  // namespace ostrel::catalogue
