#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three soldiers (or crows) wiped out by a fourth candle opening beyond the third close
// and closing beyond the first open.
class ThreeLineStrike final : public core::CandlePattern<ThreeLineStrike, 4> {
public:
    double test(const core::CandleShapes<4>& w) const {
        const auto& [k1, k2, k3, k4] = w;
        if (k1.white() && k2.white() && k3.white() && k1.o <= k2.o && k2.o <= k1.c && k2.o <= k3.o && k3.o <= k2.c &&
            k2.c > k1.c && k3.c > k2.c && k4.c < k4.o && k4.o > k3.c && k4.c < k1.o)
            return core::PATTERN_BULLISH;
        if (k1.black() && k2.black() && k3.black() && k1.c <= k2.o && k2.o <= k1.o && k2.c <= k3.o && k3.o <= k2.o &&
            k2.c < k1.c && k3.c < k2.c && k4.c > k4.o && k4.o < k3.c && k4.c > k1.o)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeLineStrike(std::span<const double>) { return box_kind(kinds::ThreeLineStrike{}); }

}  // namespace ostrel::catalogue
