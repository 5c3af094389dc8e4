#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A white candle opening below a long black candle's low and closing into its lower
// body half, above a tenth of it (bearish only).
class Thrusting final : public core::CandlePattern<Thrusting, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.range <= 0) return core::PATTERN_NONE;
        if (k1.c < k1.o && k1.o - k1.c >= 0.5 * k1.range && k2.c > k2.o && k2.o < k1.l &&
            k2.c < midpoint(k1.o, k1.c) && k2.c > k1.c + 0.1 * (k1.o - k1.c))
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Thrusting(std::span<const double>) { return box_kind(kinds::Thrusting{}); }

}  // namespace ostrel::catalogue
