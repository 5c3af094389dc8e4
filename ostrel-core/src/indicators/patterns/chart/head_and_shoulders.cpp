#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Left shoulder P0, neckline pivots P1 and P3, head P2, right shoulder P4: the head
// strictly beyond both shoulders, the shoulders and the neckline pivots each within
// 3% of each other. A top (newest pivot a high) is bearish, an inverse one bullish.
class HeadAndShoulders final : public core::SwingPattern<HeadAndShoulders, 5> {
public:
    double test(const core::SwingPivots<5>& p) const {
        const double ls = p[0].price, n1 = p[1].price, head = p[2].price, n2 = p[3].price, rs = p[4].price;
        const bool sides = core::swing_near(ls, rs, 0.03) && core::swing_near(n1, n2, 0.03);
        if (p[4].direction > 0) return head > ls && head > rs && sides ? -1.0 : 0.0;
        return head < ls && head < rs && sides ? 1.0 : 0.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HeadAndShoulders(std::span<const double>) { return box_kind(kinds::HeadAndShoulders{}); }

}  // namespace ostrel::catalogue
