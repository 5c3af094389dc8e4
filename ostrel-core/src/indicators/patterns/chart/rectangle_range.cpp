#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Flat highs and flat lows (each pair within 3%): a range, coded against the
// direction of its newest pivot.
class RectangleRange final : public core::SwingPattern<RectangleRange, 4> {
public:
    double test(const core::SwingPivots<4>& p) const {
        const auto s = core::FourPivotSides::of(p);
        if (!core::swing_near(s.h1, s.h2, 0.03) || !core::swing_near(s.l1, s.l2, 0.03)) return 0.0;
        return s.last_high ? -1.0 : 1.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RectangleRange(std::span<const double>) { return box_kind(kinds::RectangleRange{}); }

}  // namespace ostrel::catalogue
