#include "catalogue/params.hpp"
#include "indicators/core/derivatives_tick_kind.hpp"

namespace ostrel::kinds {

// Long positions over short positions; 0 when there are no short positions.
class LongShortRatio final : public core::DerivativesTickKind<LongShortRatio> {
public:
    static double value(const DerivativesTick& d) {
        if (d.short_positions == 0.0) return 0.0;
        return d.long_positions / d.short_positions;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LongShortRatio(std::span<const double>) { return box_kind(kinds::LongShortRatio{}); }

}  // namespace ostrel::catalogue
