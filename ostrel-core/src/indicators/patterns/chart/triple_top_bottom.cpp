#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Three swing extremes of the same side, each within 3% of the one before.
class TripleTopBottom final : public core::SwingPattern<TripleTopBottom, 5> {
public:
    double test(const core::SwingPivots<5>& p) const {
        if (!core::swing_near(p[0].price, p[2].price, 0.03) || !core::swing_near(p[2].price, p[4].price, 0.03))
            return 0.0;
        return p[4].direction > 0 ? -1.0 : 1.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TripleTopBottom(std::span<const double>) { return box_kind(kinds::TripleTopBottom{}); }

}  // namespace ostrel::catalogue
