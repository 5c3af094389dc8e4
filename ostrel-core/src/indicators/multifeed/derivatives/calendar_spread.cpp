#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Futures price against the mark price, as a fraction of the mark (no guard).
class CalendarSpread final : public core::DerivativesTickKind<CalendarSpread> {
public:
    static double value(const DerivativesTick& d) { return (d.futures_price - d.mark_price) / d.mark_price; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CalendarSpread(std::span<const double>) { return box_kind(kinds::CalendarSpread{}); }

}  // namespace ostrel::catalogue
