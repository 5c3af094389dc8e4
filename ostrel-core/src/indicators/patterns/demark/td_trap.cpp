#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark trap: after an inside bar (strictly inside the bar before it), a close
// beyond its high (buy) or below its low (sell).
class TdTrap final : public core::CandlePattern<TdTrap, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const core::CandleShape& b2 = w[0];
        const core::CandleShape& b1 = w[1];
        const core::CandleShape& k = w[2];
        const bool inside = b1.h < b2.h && b1.l > b2.l;
        if (inside && k.c > b1.h) return core::PATTERN_BULLISH;
        if (inside && k.c < b1.l) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdTrap(std::span<const double>) { return box_kind(kinds::TdTrap{}); }

}  // namespace ostrel::catalogue
