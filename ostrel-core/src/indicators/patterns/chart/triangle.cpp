#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Converging sides of four alternating pivots: flat highs over rising lows
// (ascending, bullish), falling highs over flat lows (descending, bearish), or
// falling highs over rising lows (symmetrical, coded by the newest pivot).
class Triangle final : public core::SwingPattern<Triangle, 4> {
public:
    double test(const core::SwingPivots<4>& p) const {
        const auto s = core::FourPivotSides::of(p);
        const bool highs_falling = s.h2 < 0.97 * s.h1;
        if (core::swing_near(s.h1, s.h2, 0.03)) {
            if (s.l2 > 1.03 * s.l1) return 1.0;
            if (highs_falling && core::swing_near(s.l1, s.l2, 0.03)) return -1.0;
            return 0.0;
        }
        if (highs_falling && core::swing_near(s.l1, s.l2, 0.03)) return -1.0;
        if (highs_falling && s.l2 > 1.03 * s.l1) return s.last_high ? -1.0 : 1.0;
        return 0.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Triangle(std::span<const double>) { return box_kind(kinds::Triangle{}); }

}  // namespace ostrel::catalogue
