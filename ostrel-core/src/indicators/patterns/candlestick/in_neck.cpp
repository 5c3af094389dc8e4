#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A white candle opening below a long black candle's low and closing just at or above
// its close (bearish only).
class InNeck final : public core::CandlePattern<InNeck, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.range <= 0) return core::PATTERN_NONE;
        if (!(k1.c < k1.o)) return core::PATTERN_NONE;
        if (k1.o - k1.c < 0.5 * k1.range) return core::PATTERN_NONE;
        if (!(k2.c >= k1.c && k2.c > k2.o && k2.o < k1.l)) return core::PATTERN_NONE;
        if (k2.c <= k1.c + 0.1 * (k1.o - k1.c)) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_InNeck(std::span<const double>) { return box_kind(kinds::InNeck{}); }

}  // namespace ostrel::catalogue
