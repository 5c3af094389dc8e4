#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji whose body gaps strictly away from the close of a long candle.
class DojiStar final : public core::CandlePattern<DojiStar, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k2.range <= 0 || k1.range <= 0) return core::PATTERN_NONE;
        if (k1.body < 0.5 * k1.range) return core::PATTERN_NONE;
        if (k2.body > 0.1 * k2.range) return core::PATTERN_NONE;
        if (k2.top < k1.c && k1.c < k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.bottom > k1.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DojiStar(std::span<const double>) { return box_kind(kinds::DojiStar{}); }

}  // namespace ostrel::catalogue
