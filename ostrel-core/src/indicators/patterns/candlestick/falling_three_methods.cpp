#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long black candle, three small rising white candles within its range, then a black
// candle closing below the first (bearish only).
class FallingThreeMethods final : public core::CandlePattern<FallingThreeMethods, 5> {
public:
    double test(const core::CandleShapes<5>& w) const {
        const auto& [k1, k2, k3, k4, k5] = w;
        if (k1.range <= 0) return core::PATTERN_NONE;
        if (k1.o - k1.c < 0.5 * k1.range) return core::PATTERN_NONE;
        const double limit = 0.5 * (k1.o - k1.c);
        for (const core::CandleShape* m : {&k2, &k3, &k4}) {
            if (!(m->top > k1.l && m->bottom < k1.h && 0 < m->c - m->o && m->c - m->o <= limit)) return core::PATTERN_NONE;
        }
        if (!(k3.c > k2.c && k4.c > k3.c)) return core::PATTERN_NONE;
        if (!(k5.o - k5.c > 0)) return core::PATTERN_NONE;
        if (k5.o - k5.c >= 0.5 * k5.range && k5.c < k1.c && k5.o < k4.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FallingThreeMethods(std::span<const double>) { return box_kind(kinds::FallingThreeMethods{}); }

}  // namespace ostrel::catalogue
