#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long black candle, a black candle with a lower low inside its open, then a small white
// candle below the second close (bullish only).
class UniqueThreeRiver final : public core::CandlePattern<UniqueThreeRiver, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.o > k1.c && k1.o - k1.c >= 0.5 * k1.range && k2.o > k2.c && k2.o <= k1.o && k2.c >= k1.c &&
            k2.l < k1.l && k3.c > k3.o && k3.c - k3.o <= 0.3 * k3.range && k3.h <= k2.c)
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UniqueThreeRiver(std::span<const double>) { return box_kind(kinds::UniqueThreeRiver{}); }

}  // namespace ostrel::catalogue
