#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three doji, the middle one gapping below (bullish) or above (bearish) the first.
class Tristar final : public core::CandlePattern<Tristar, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (!(k1.doji() && k2.doji() && k3.doji())) return core::PATTERN_NONE;
        if (k2.top < k1.bottom && k3.bottom > k2.bottom) return core::PATTERN_BULLISH;
        if (k2.bottom > k1.top && k3.top < k2.top) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tristar(std::span<const double>) { return box_kind(kinds::Tristar{}); }

}  // namespace ostrel::catalogue
