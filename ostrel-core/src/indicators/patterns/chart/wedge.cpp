#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Both sides sloping the same way and converging: rising with the lows rising
// faster (bearish), or falling with the highs falling faster (bullish). Parallel
// sides are no wedge.
class Wedge final : public core::SwingPattern<Wedge, 4> {
public:
    double test(const core::SwingPivots<4>& p) const {
        const auto s = core::FourPivotSides::of(p);
        const double upper = s.h2 - s.h1;
        const double lower = s.l2 - s.l1;
        if (lower > upper && upper > 0) return -1.0;
        if (upper < lower && lower < 0) return 1.0;
        return 0.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Wedge(std::span<const double>) { return box_kind(kinds::Wedge{}); }

}  // namespace ostrel::catalogue
