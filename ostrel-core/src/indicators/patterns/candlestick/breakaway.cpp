#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A gap away from a long candle, two further steps in its direction, then an opposite
// candle closing strictly inside the gap.
class Breakaway final : public core::CandlePattern<Breakaway, 5> {
public:
    double test(const core::CandleShapes<5>& w) const {
        const auto& [k1, k2, k3, k4, k5] = w;
        if (k1.c < k1.o && k2.o < k1.c && k2.c < k2.o && k3.h < k2.h && k3.l < k2.l && k4.h < k3.h && k4.l < k3.l &&
            k4.c < k4.o && k5.c > k5.o && k2.o < k5.c && k5.c < k1.c)
            return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.o > k1.c && k2.c > k2.o && k3.h > k2.h && k3.l > k2.l && k4.h > k3.h && k4.l > k3.l &&
            k4.c > k4.o && k5.c < k5.o && k1.c < k5.c && k5.c < k2.o)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Breakaway(std::span<const double>) { return box_kind(kinds::Breakaway{}); }

}  // namespace ostrel::catalogue
