#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Premium of the mark over the index price, as a fraction of the index (no guard:
// a zero index gives an infinity or NaN).
class FundingBasis final : public core::DerivativesTickKind<FundingBasis> {
public:
    static double value(const DerivativesTick& d) { return core::mark_premium(d); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingBasis(std::span<const double>) { return box_kind(kinds::FundingBasis{}); }

}  // namespace ostrel::catalogue
