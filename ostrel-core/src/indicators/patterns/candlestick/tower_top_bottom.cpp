#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long candle, a small one, then a long candle turning the other way; body-to-range
// ratios are taken by division.
class TowerTopBottom final : public core::CandlePattern<TowerTopBottom, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        const bool long1 = k1.range > 0 && k1.body / k1.range >= 0.5;
        const bool long3 = k3.range > 0 && k3.body / k3.range >= 0.5;
        const bool small2 = !(k2.range > 0 && k2.body / k2.range > 0.3);
        if (!(long1 && small2 && long3)) return core::PATTERN_NONE;
        if (k1.c > k1.o) return k3.c <= k3.o ? core::PATTERN_BEARISH : core::PATTERN_NONE;
        return k3.c > k3.o ? core::PATTERN_BULLISH : core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TowerTopBottom(std::span<const double>) { return box_kind(kinds::TowerTopBottom{}); }

}  // namespace ostrel::catalogue
