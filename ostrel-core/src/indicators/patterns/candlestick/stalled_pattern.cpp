#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two long rising white candles, then a small white one opening near the second close
// (bearish only).
class StalledPattern final : public core::CandlePattern<StalledPattern, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.range <= 0 || k2.range <= 0 || k3.range <= 0) return core::PATTERN_NONE;
        if (k1.c > k1.o && k2.c > k2.o && k3.c > k3.o && k2.c > k1.c && k3.c > k2.c && k1.c - k1.o >= 0.5 * k1.range &&
            k2.c - k2.o >= 0.5 * k2.range && k3.c - k3.o <= 0.3 * k3.range && k3.o >= k2.c - 0.1 * k2.range)
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StalledPattern(std::span<const double>) { return box_kind(kinds::StalledPattern{}); }

}  // namespace ostrel::catalogue
