#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// An opposite candle opening at the previous open with no shadow at its opening end.
class SeparatingLines final : public core::CandlePattern<SeparatingLines, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k2.range <= 0 || k1.range <= 0 || std::fabs(k2.o - k1.o) > 0.05 * k1.range || k2.body < 0.5 * k2.range)
            return core::PATTERN_NONE;
        if (k2.o - k2.l <= 0.05 * k2.range && k2.c > k2.o && k1.c < k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o && k2.h - k2.o <= 0.05 * k2.range) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SeparatingLines(std::span<const double>) { return box_kind(kinds::SeparatingLines{}); }

}  // namespace ostrel::catalogue
