#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// An engulfing pair confirmed by a third candle closing beyond the second.
class ThreeOutside final : public core::CandlePattern<ThreeOutside, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c - k1.o == 0) return core::PATTERN_NONE;
        if (!(k2.body > k1.body)) return core::PATTERN_NONE;
        if (k1.c < k1.o && k2.c > k2.o && k2.o <= k1.c && k2.c >= k1.o && k3.c > k3.o && k3.c > k2.c) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o && k2.o >= k1.c && k2.c <= k1.o && k3.c < k3.o && k3.c < k2.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeOutside(std::span<const double>) { return box_kind(kinds::ThreeOutside{}); }

}  // namespace ostrel::catalogue
