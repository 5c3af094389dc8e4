#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// An inside bar, then a break of its range: both extremes lower is bullish, both higher
// bearish.
class Hikkake final : public core::CandlePattern<Hikkake, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (!(k2.h < k1.h && k2.l > k1.l)) return core::PATTERN_NONE;
        if (k3.h < k2.h && k3.l < k2.l) return core::PATTERN_BULLISH;
        if (k3.l > k2.l && k3.h > k2.h) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Hikkake(std::span<const double>) { return box_kind(kinds::Hikkake{}); }

}  // namespace ostrel::catalogue
