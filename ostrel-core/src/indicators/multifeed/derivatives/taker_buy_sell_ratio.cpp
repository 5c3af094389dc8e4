#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Taker buy volume over taker sell volume; 0 when the sell volume is 0.
class TakerBuySellRatio final : public core::DerivativesTickKind<TakerBuySellRatio> {
public:
    static double value(const DerivativesTick& d) {
        if (d.taker_sell_volume == 0.0) return 0.0;
        return d.taker_buy_volume / d.taker_sell_volume;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TakerBuySellRatio(std::span<const double>) { return box_kind(kinds::TakerBuySellRatio{}); }

}  // namespace ostrel::catalogue
