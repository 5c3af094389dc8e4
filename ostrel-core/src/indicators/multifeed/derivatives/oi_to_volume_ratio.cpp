#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Open interest over the bar's taker volume; 0 unless that volume is above 0.
class OiToVolumeRatio final : public core::DerivativesTickKind<OiToVolumeRatio> {
public:
    static double value(const DerivativesTick& d) {
        const double volume = d.taker_buy_volume + d.taker_sell_volume;
        if (!(volume > 0.0)) return 0.0;
        return d.open_interest / volume;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OiToVolumeRatio(std::span<const double>) { return box_kind(kinds::OiToVolumeRatio{}); }

}  // namespace ostrel::catalogue
