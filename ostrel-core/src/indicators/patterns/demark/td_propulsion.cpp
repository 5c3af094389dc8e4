#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark propulsion: an open at or beyond the previous close followed by a close
// beyond the previous extreme on the other side.
class TdPropulsion final : public core::CandlePattern<TdPropulsion, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const core::CandleShape& b1 = w[0];
        const core::CandleShape& k = w[1];
        if (k.o >= b1.c && k.c > b1.h) return core::PATTERN_BULLISH;
        if (k.c < b1.l && k.o <= b1.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdPropulsion(std::span<const double>) { return box_kind(kinds::TdPropulsion{}); }

}  // namespace ostrel::catalogue
