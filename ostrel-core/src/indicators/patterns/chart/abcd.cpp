#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// A-B-C-D formation: BC retraces 0.382 to 0.886 of AB, CD extends 1.13 to 2.618 of
// BC, and the two driving legs AB and CD are within 10% of each other.
class Abcd final : public core::SwingPattern<Abcd, 4> {
public:
    double test(const core::SwingPivots<4>& p) const {
        const double ab = std::fabs(p[1].price - p[0].price);
        const double bc = std::fabs(p[2].price - p[1].price);
        const double cd = std::fabs(p[3].price - p[2].price);
        const bool matched = core::swing_in_window(bc / ab, 0.382, 0.886) &&
                             core::swing_in_window(cd / bc, 1.13, 2.618) && core::swing_near(ab, cd, 0.1);
        return core::harmonic_code(matched, p[3]);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Abcd(std::span<const double>) { return box_kind(kinds::Abcd{}); }

}  // namespace ostrel::catalogue
