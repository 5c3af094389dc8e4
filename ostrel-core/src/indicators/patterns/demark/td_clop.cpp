#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark close-open: a bar that opens beyond both the previous open and close and
// closes beyond both on the other side.
class TdClop final : public core::CandlePattern<TdClop, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const core::CandleShape& b1 = w[0];
        const core::CandleShape& k = w[1];
        if (k.o < b1.o && k.o < b1.c && k.c > b1.o && k.c > b1.c) return core::PATTERN_BULLISH;
        if (k.o > b1.o && k.o > b1.c && k.c < b1.o && k.c < b1.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdClop(std::span<const double>) { return box_kind(kinds::TdClop{}); }

}  // namespace ostrel::catalogue
