#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three black candles stepping down, a black candle with an upper shadow, then a white
// candle closing above that shadow (bullish only).
class LadderBottom final : public core::CandlePattern<LadderBottom, 5> {
public:
    double test(const core::CandleShapes<5>& w) const {
        const auto& [k1, k2, k3, k4, k5] = w;
        if (k4.h > k4.o && k4.c < k4.o && k3.c < k2.c && k3.o < k2.o && k2.c < k1.c && k2.o < k1.o && k1.c < k1.o &&
            k2.c < k2.o && k3.c < k3.o && k5.o > k4.o && k5.c > k5.o && k5.c > k4.h)
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LadderBottom(std::span<const double>) { return box_kind(kinds::LadderBottom{}); }

}  // namespace ostrel::catalogue
