#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark open: a bar that opens beyond the previous bar's range and trades back
// into it.
class TdOpen final : public core::CandlePattern<TdOpen, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const core::CandleShape& b1 = w[0];
        const core::CandleShape& k = w[1];
        if (k.o < b1.l && k.h > b1.l) return core::PATTERN_BULLISH;
        if (k.o > b1.h && k.l < b1.h) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdOpen(std::span<const double>) { return box_kind(kinds::TdOpen{}); }

}  // namespace ostrel::catalogue
