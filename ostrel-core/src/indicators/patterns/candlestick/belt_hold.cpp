#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long body (at least half the range) with no shadow at the opening end.
class BeltHold final : public core::CandlePattern<BeltHold, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body < 0.5 * x.range) return core::PATTERN_NONE;
        if (x.c > x.o && x.o - x.l <= shadow_fraction_ * x.range) return core::PATTERN_BULLISH;
        if (x.h - x.o <= shadow_fraction_ * x.range && x.c < x.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double shadow_fraction_ = 0.05;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BeltHold(std::span<const double>) { return box_kind(kinds::BeltHold{}); }

}  // namespace ostrel::catalogue
