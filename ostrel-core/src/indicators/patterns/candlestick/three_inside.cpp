#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A harami pair confirmed by a third candle closing beyond the first open.
class ThreeInside final : public core::CandlePattern<ThreeInside, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c - k1.o == 0 || k2.c - k2.o == 0) return core::PATTERN_NONE;
        if (!(k2.body < k1.body)) return core::PATTERN_NONE;
        if (k1.c < k1.o && k2.c > k2.o && k2.o >= k1.c && k2.c <= k1.o && k3.c > k3.o && k3.c > k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o && k2.o <= k1.c && k2.c >= k1.o && k3.c < k3.o && k3.c < k1.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeInside(std::span<const double>) { return box_kind(kinds::ThreeInside{}); }

}  // namespace ostrel::catalogue
