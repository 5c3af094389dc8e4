#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two similar white candles side by side beyond a gap over (bullish) or under (bearish)
// the first body.
class GapSideBySideWhite final : public core::CandlePattern<GapSideBySideWhite, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k2.range <= 0) return core::PATTERN_NONE;
        if (!(k2.c > k2.o && k3.c > k3.o)) return core::PATTERN_NONE;
        if (std::fabs(k3.o - k2.o) > 0.1 * k2.range) return core::PATTERN_NONE;
        const double body2 = k2.c - k2.o;
        const double body3 = k3.c - k3.o;
        if (body2 > body3 + body3 || body3 > body2 + body2) return core::PATTERN_NONE;
        if (k2.bottom > k1.top) return core::PATTERN_BULLISH;
        if (k2.top < k1.bottom) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GapSideBySideWhite(std::span<const double>) { return box_kind(kinds::GapSideBySideWhite{}); }

}  // namespace ostrel::catalogue
