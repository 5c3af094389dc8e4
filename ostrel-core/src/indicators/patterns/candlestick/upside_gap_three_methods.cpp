#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two white candles with a body gap, then a black candle opening in the second body and
// closing in the first (bullish only).
class UpsideGapThreeMethods final : public core::CandlePattern<UpsideGapThreeMethods, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c > k1.o && k2.c > k2.o && k2.o > k1.c && k3.c < k3.o && k2.o < k3.o && k3.o < k2.c && k1.o < k3.c &&
            k3.c < k1.c)
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UpsideGapThreeMethods(std::span<const double>) { return box_kind(kinds::UpsideGapThreeMethods{}); }

}  // namespace ostrel::catalogue
