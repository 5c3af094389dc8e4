#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Premium of the perpetual's mark over the index price, as a fraction of the index
// (the same figure as the funding basis; no guard on a zero index).
class PerpetualPremiumIndex final : public core::DerivativesTickKind<PerpetualPremiumIndex> {
public:
    static double value(const DerivativesTick& d) { return core::mark_premium(d); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PerpetualPremiumIndex(std::span<const double>) { return box_kind(kinds::PerpetualPremiumIndex{}); }

}  // namespace ostrel::catalogue
