#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A small middle body gapping beyond the first close, then an opposite candle closing
// well into the first body: morning star (bullish) or evening star (bearish).
class MorningEveningStar final : public core::CandlePattern<MorningEveningStar, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k3.c - k3.o == 0 || k1.c - k1.o == 0) return core::PATTERN_NONE;
        const double twice2 = k2.body + k2.body;
        if (!(k1.body >= twice2 && k3.body >= twice2)) return core::PATTERN_NONE;
        if (k3.c > k1.c + 0.3 * k1.body && k3.c > k3.o && k1.c < k1.o && k2.top < k1.c) return core::PATTERN_BULLISH;
        if (k3.c < k3.o && k2.bottom > k1.c && k1.c > k1.o && k3.c < k1.c - 0.3 * k1.body) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MorningEveningStar(std::span<const double>) { return box_kind(kinds::MorningEveningStar{}); }

}  // namespace ostrel::catalogue
