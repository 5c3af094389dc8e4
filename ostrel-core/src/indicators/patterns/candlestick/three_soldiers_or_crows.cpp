#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three white candles each opening inside the previous body and closing higher (three
// white soldiers), or the black mirror (three black crows).
class ThreeSoldiersOrCrows final : public core::CandlePattern<ThreeSoldiersOrCrows, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.white() && k2.white() && k3.white() && k1.o <= k2.o && k2.o <= k1.c && k2.o <= k3.o && k3.o <= k2.c &&
            k2.c > k1.c && k3.c > k2.c)
            return core::PATTERN_BULLISH;
        if (k1.black() && k2.black() && k3.black() && k1.c <= k2.o && k2.o <= k1.o && k2.c <= k3.o && k3.o <= k2.o &&
            k2.c < k1.c && k3.c < k2.c)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeSoldiersOrCrows(std::span<const double>) { return box_kind(kinds::ThreeSoldiersOrCrows{}); }

}  // namespace ostrel::catalogue
