#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long white candle, three small falling black candles within its range, then a white
// candle closing above the first (bullish only).
class RisingThreeMethods final : public core::CandlePattern<RisingThreeMethods, 5> {
public:
    double test(const core::CandleShapes<5>& w) const {
        const auto& [k1, k2, k3, k4, k5] = w;
        if (!(k1.range > 0 && k1.c - k1.o >= 0.5 * k1.range)) return core::PATTERN_NONE;
        const double limit = 0.5 * (k1.c - k1.o);
        for (const core::CandleShape* m : {&k2, &k3, &k4}) {
            if (!(m->top > k1.l && m->bottom < k1.h && m->o > m->c && m->o - m->c <= limit)) return core::PATTERN_NONE;
        }
        if (!(k3.c < k2.c && k4.c < k3.c)) return core::PATTERN_NONE;
        if (!(k5.c > k5.o)) return core::PATTERN_NONE;
        if (k5.c - k5.o >= 0.5 * k5.range && k5.c > k1.c && k5.o > k4.c) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RisingThreeMethods(std::span<const double>) { return box_kind(kinds::RisingThreeMethods{}); }

}  // namespace ostrel::catalogue
