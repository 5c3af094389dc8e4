#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// The kicking formation, signed by the longer of the two bodies (the first on a tie).
class KickingByLength final : public core::CandlePattern<KickingByLength, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.range <= 0 || k1.body < 0.95 * k1.range || k2.range <= 0 || k2.body < 0.95 * k2.range) return core::PATTERN_NONE;
        if (k2.c > k2.o && k1.c < k1.o) {
            if (!(k2.l > k1.h)) return core::PATTERN_NONE;
            return k1.body >= k2.body ? core::PATTERN_BEARISH : core::PATTERN_BULLISH;
        }
        if (k1.c > k1.o && k2.c < k2.o) {
            if (!(k2.h < k1.l)) return core::PATTERN_NONE;
            return k1.body >= k2.body ? core::PATTERN_BULLISH : core::PATTERN_BEARISH;
        }
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KickingByLength(std::span<const double>) { return box_kind(kinds::KickingByLength{}); }

}  // namespace ostrel::catalogue
