#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Piercing line (a gap down closing above the previous black body's middle) or dark
// cloud cover (a gap up closing below the previous white body's middle).
class PiercingDarkCloud final : public core::CandlePattern<PiercingDarkCloud, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        const double m = midpoint(k1.o, k1.c);
        if (k2.o < k1.l && k2.c > k2.o && k1.c < k1.o && k2.c < k1.o && k2.c > m) return core::PATTERN_BULLISH;
        if (k2.o > k1.h && k2.c < k2.o && k1.c > k1.o && k2.c < m && k2.c > k1.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PiercingDarkCloud(std::span<const double>) { return box_kind(kinds::PiercingDarkCloud{}); }

}  // namespace ostrel::catalogue
