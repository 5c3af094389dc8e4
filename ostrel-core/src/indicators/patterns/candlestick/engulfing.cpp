#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A body that strictly outgrows and inclusively engulfs the previous opposite body.
class Engulfing final : public core::CandlePattern<Engulfing, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.c - k1.o == 0) return core::PATTERN_NONE;
        if (k2.body <= k1.body) return core::PATTERN_NONE;
        if (k2.c >= k1.o && k2.o <= k1.c && k2.c > k2.o && k1.c < k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o && k2.o >= k1.c && k2.c <= k1.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Engulfing(std::span<const double>) { return box_kind(kinds::Engulfing{}); }

}  // namespace ostrel::catalogue
