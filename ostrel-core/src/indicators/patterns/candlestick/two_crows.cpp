#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A white candle, a black one gapping above it, then a black candle opening in the second
// body and closing in the first (bearish only).
class TwoCrows final : public core::CandlePattern<TwoCrows, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c > k1.o && k2.c < k2.o && k2.c > k1.c && k3.c < k3.o && k2.c < k3.o && k3.o < k2.o && k1.o < k3.c &&
            k3.c < k1.c)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TwoCrows(std::span<const double>) { return box_kind(kinds::TwoCrows{}); }

}  // namespace ostrel::catalogue
