#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark close-open within: open and close both inside the previous body (bounds
// included); the direction is that of the bar, a bar without body counting as up.
class TdClopwin final : public core::CandlePattern<TdClopwin, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const core::CandleShape& b1 = w[0];
        const core::CandleShape& k = w[1];
        const double lo = b1.bottom;
        const double hi = b1.top;
        const bool within = lo <= k.o && k.o <= hi && lo <= k.c && k.c <= hi;
        if (within && k.c >= k.o) return core::PATTERN_BULLISH;
        if (within && k.c < k.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdClopwin(std::span<const double>) { return box_kind(kinds::TdClopwin{}); }

}  // namespace ostrel::catalogue
