#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// Three drives L2, L4, L6 each extending its correction L1, L3, L5 by 1.13 to 1.75,
// the drives alike within 20% and the corrections alike within 30%.
class ThreeDrives final : public core::SwingPattern<ThreeDrives, 7> {
public:
    double test(const core::SwingPivots<7>& p) const {
        std::array<double, 7> leg{};  // leg[k] = |P(k) - P(k-1)|, k = 1..6
        for (std::size_t k = 1; k < 7; ++k) leg[k] = std::fabs(p[k].price - p[k - 1].price);
        const bool matched =
            core::swing_in_window(leg[2] / leg[1], 1.13, 1.75) && core::swing_in_window(leg[4] / leg[3], 1.13, 1.75) &&
            core::swing_in_window(leg[6] / leg[5], 1.13, 1.75) && core::swing_near(leg[2], leg[4], 0.2) &&
            core::swing_near(leg[4], leg[6], 0.2) && core::swing_near(leg[1], leg[3], 0.3) &&
            core::swing_near(leg[3], leg[5], 0.3);
        return core::harmonic_code(matched, p[6]);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeDrives(std::span<const double>) { return box_kind(kinds::ThreeDrives{}); }

}  // namespace ostrel::catalogue
