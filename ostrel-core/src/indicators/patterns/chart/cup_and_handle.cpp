#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// Rims P0 and P2 within 3%, the cup's extreme P1, and a handle P3 strictly between
// the cup's extreme and the second rim: a cup (handle a low) or an inverted cup
// (handle a high).
class CupAndHandle final : public core::SwingPattern<CupAndHandle, 4> {
public:
    double test(const core::SwingPivots<4>& p) const {
        const double rim1 = p[0].price, cup = p[1].price, rim2 = p[2].price, handle = p[3].price;
        if (!core::swing_near(rim1, rim2, 0.03)) return 0.0;
        if (p[3].direction < 0) return cup < handle && handle < rim2 ? 1.0 : 0.0;
        return rim2 < handle && handle < cup ? -1.0 : 0.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CupAndHandle(std::span<const double>) { return box_kind(kinds::CupAndHandle{}); }

}  // namespace ostrel::catalogue
