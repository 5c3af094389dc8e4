#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long body (at least 0.7 of the range) with no shadow at the closing end.
class ClosingMarubozu final : public core::CandlePattern<ClosingMarubozu, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body < 0.7 * x.range) return core::PATTERN_NONE;
        if (x.h - x.c <= 0.05 * x.range && x.c > x.o) return core::PATTERN_BULLISH;
        if (x.c < x.o && x.c - x.l <= 0.05 * x.range) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ClosingMarubozu(std::span<const double>) { return box_kind(kinds::ClosingMarubozu{}); }

}  // namespace ostrel::catalogue
