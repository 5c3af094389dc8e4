#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two opposite marubozu candles with a strict gap between their shadows.
class Kicking final : public core::CandlePattern<Kicking, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.range <= 0 || k1.body < 0.95 * k1.range || k2.range <= 0 || k2.body < 0.95 * k2.range) return core::PATTERN_NONE;
        if (k1.c < k1.o && k2.c > k2.o && k2.l > k1.h) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.h < k1.l && k2.c < k2.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Kicking(std::span<const double>) { return box_kind(kinds::Kicking{}); }

}  // namespace ostrel::catalogue
