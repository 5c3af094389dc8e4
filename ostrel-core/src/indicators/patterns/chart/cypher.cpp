#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation measured against XC: B at 0.382 to 0.618 of XA, C extending
// XA by 1.272 to 1.414, and CD at 0.74 to 0.83 of XC; tested in that order.
class Cypher final : public core::SwingPattern<Cypher, 5> {
public:
    double test(const core::SwingPivots<5>& p) const {
        const double x = p[0].price, a = p[1].price, b = p[2].price, c = p[3].price, d = p[4].price;
        const double xa = a - x, ab = b - a, cd = d - c, xc = c - x;
        const bool matched = core::swing_in_window(std::fabs(ab / xa), 0.382, 0.618) &&
                             core::swing_in_window(std::fabs(xc / xa), 1.272, 1.414) &&
                             core::swing_in_window(std::fabs(cd / xc), 0.74, 0.83);
        return core::harmonic_code(matched, p[4]);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Cypher(std::span<const double>) { return box_kind(kinds::Cypher{}); }

}  // namespace ostrel::catalogue
