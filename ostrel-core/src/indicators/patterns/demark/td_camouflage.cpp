#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// DeMark camouflage: a lower close on a white bar with a lower low (buy), or a
// higher close on a black bar with a higher high (sell).
class TdCamouflage final : public core::CandlePattern<TdCamouflage, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const core::CandleShape& b1 = w[0];
        const core::CandleShape& k = w[1];
        if (k.c < b1.c && k.c > k.o && k.l < b1.l) return core::PATTERN_BULLISH;
        if (k.c < k.o && k.h > b1.h && k.c > b1.c) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdCamouflage(std::span<const double>) { return box_kind(kinds::TdCamouflage{}); }

}  // namespace ostrel::catalogue
