#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Two swing extremes of the same side within 3% of each other, with one swing
// between: a double top when the newest pivot is a high, a double bottom otherwise.
class DoubleTopBottom final : public core::SwingPattern<DoubleTopBottom, 3> {
public:
    double test(const core::SwingPivots<3>& p) const {
        if (!core::swing_near(p[0].price, p[2].price, 0.03)) return 0.0;
        return p[2].direction > 0 ? -1.0 : 1.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DoubleTopBottom(std::span<const double>) { return box_kind(kinds::DoubleTopBottom{}); }

}  // namespace ostrel::catalogue
