#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji inside the body of a candle that is not a doji; the direction comes from the
// first candle alone.
class HaramiCross final : public core::CandlePattern<HaramiCross, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (!(k1.bottom <= k2.c && k1.bottom <= k2.o && k2.o <= k1.top && k2.c <= k1.top)) return core::PATTERN_NONE;
        if (!(k2.doji() && !k1.doji())) return core::PATTERN_NONE;
        return k1.c < k1.o ? core::PATTERN_BULLISH : core::PATTERN_BEARISH;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HaramiCross(std::span<const double>) { return box_kind(kinds::HaramiCross{}); }

}  // namespace ostrel::catalogue
