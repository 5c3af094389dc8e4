#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two shadowless black candles, a black candle reaching up into the second close, then a
// black candle engulfing the third with its shadows (bullish only).
class ConcealingBabySwallow final : public core::CandlePattern<ConcealingBabySwallow, 4> {
public:
    double test(const core::CandleShapes<4>& w) const {
        const auto& [k1, k2, k3, k4] = w;
        if (!(k1.range > 0 && k1.o > k1.c && k1.h - k1.o <= 0.05 * k1.range && k1.c - k1.l <= 0.05 * k1.range))
            return core::PATTERN_NONE;
        if (!(k2.range > 0 && k2.o > k2.c && k2.h - k2.o <= 0.05 * k2.range && k2.c - k2.l <= 0.05 * k2.range))
            return core::PATTERN_NONE;
        if (!(k3.o > k3.c && k3.o < k2.c && k3.h > k2.c)) return core::PATTERN_NONE;
        if (!(k4.o > k4.c)) return core::PATTERN_NONE;
        if (k4.c < k3.l && k4.o > k3.h) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ConcealingBabySwallow(std::span<const double>) { return box_kind(kinds::ConcealingBabySwallow{}); }

}  // namespace ostrel::catalogue
