#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A smaller black body inside the previous black body (bullish only).
class HomingPigeon final : public core::CandlePattern<HomingPigeon, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.c < k1.o && k2.c >= k1.c && k2.c < k2.o && k2.o <= k1.o && k2.o - k2.c < k1.o - k1.c) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HomingPigeon(std::span<const double>) { return box_kind(kinds::HomingPigeon{}); }

}  // namespace ostrel::catalogue
