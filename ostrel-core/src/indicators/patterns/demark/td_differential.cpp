#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark differential: two lower closes in a row with buying pressure rising and
// selling pressure falling (buy), or the mirror (sell). Buying pressure is the close
// above the lower of the low and the previous close; selling pressure the higher of
// the high and the previous close above the close.
class TdDifferential final : public core::CandlePattern<TdDifferential, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const core::CandleShape& b2 = w[0];
        const core::CandleShape& b1 = w[1];
        const core::CandleShape& k = w[2];
        const double bp = k.c - std::min(k.l, b1.c);
        const double sp = std::max(k.h, b1.c) - k.c;
        const double bp1 = b1.c - std::min(b1.l, b2.c);
        const double sp1 = std::max(b1.h, b2.c) - b1.c;
        if (k.c < b1.c && b1.c < b2.c && bp > bp1 && sp < sp1) return core::PATTERN_BULLISH;
        if (k.c > b1.c && b1.c > b2.c && bp < bp1 && sp > sp1) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdDifferential(std::span<const double>) { return box_kind(kinds::TdDifferential{}); }

}  // namespace ostrel::catalogue
