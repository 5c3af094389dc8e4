#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A strictly smaller opposite body held inclusively inside the previous body.
class Harami final : public core::CandlePattern<Harami, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k2.c - k2.o == 0 || k1.c - k1.o == 0) return core::PATTERN_NONE;
        if (k2.body >= k1.body) return core::PATTERN_NONE;
        if (k2.c <= k1.o && k2.o >= k1.c && k2.c > k2.o && k1.c < k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o && k2.o <= k1.c && k2.c >= k1.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Harami(std::span<const double>) { return box_kind(kinds::Harami{}); }

}  // namespace ostrel::catalogue
