#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Futures price against the index price, as a fraction of the index (no guard).
class TermStructureBasis final : public core::DerivativesTickKind<TermStructureBasis> {
public:
    static double value(const DerivativesTick& d) { return (d.futures_price - d.index_price) / d.index_price; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TermStructureBasis(std::span<const double>) { return box_kind(kinds::TermStructureBasis{}); }

}  // namespace ostrel::catalogue
