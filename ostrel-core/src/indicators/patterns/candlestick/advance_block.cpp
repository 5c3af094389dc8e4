#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three rising white candles with shrinking bodies and a growing upper shadow (bearish
// only).
class AdvanceBlock final : public core::CandlePattern<AdvanceBlock, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c > k1.o && k2.c > k2.o && k3.c > k3.o && k2.c > k1.c && k3.c > k2.c && k1.o <= k2.o &&
            k2.o <= k1.c && k2.o <= k3.o && k3.o <= k2.c && k2.c - k2.o < k1.c - k1.o && k3.c - k3.o < k2.c - k2.o &&
            k3.h - k3.c >= k2.h - k2.c && k3.h - k3.c > 0)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdvanceBlock(std::span<const double>) { return box_kind(kinds::AdvanceBlock{}); }

}  // namespace ostrel::catalogue
