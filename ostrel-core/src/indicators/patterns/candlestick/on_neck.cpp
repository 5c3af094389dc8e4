#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A white candle opening below a long black candle's low and closing at that low
// (bearish only).
class OnNeck final : public core::CandlePattern<OnNeck, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.range > 0 && k1.c < k1.o && k1.o - k1.c >= 0.5 * k1.range && k2.c > k2.o && k2.o < k1.l &&
            std::fabs(k2.c - k1.l) <= 0.05 * k1.range)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OnNeck(std::span<const double>) { return box_kind(kinds::OnNeck{}); }

}  // namespace ostrel::catalogue
