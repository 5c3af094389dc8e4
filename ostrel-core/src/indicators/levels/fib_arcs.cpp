#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Arcs around the newer pivot of the last swing: each retracement scaled by how
// far the current bar still lies within one swing length of that pivot; from one
// swing length on, all three arcs equal the pivot.
class FibArcs final : public core::SwingLevels<FibArcs, 2, 2, 3> {
public:
    static constexpr std::array<std::string_view, 3> NAMES = {"arc_382", "arc_500", "arc_618"};
    std::array<double, 3> levels(const core::SwingTracker& t) const {
        const core::SwingPivot& p0 = t.pivot(0);
        const core::SwingPivot& p1 = t.pivot(1);
        const double d = p0.price - p1.price;
        const double span = bars_between(p1.index, p0.index);
        const double e = bars_between(current_bar(t), p1.index);
        const double q = e / span;
        const double k = std::sqrt(std::max(0.0, 1.0 - q * q));
        return {p1.price + 0.382 * d * k, p1.price + 0.5 * d * k, p1.price + 0.618 * d * k};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibArcs(std::span<const double>) { return box_kind(kinds::FibArcs{}); }

}  // namespace ostrel::catalogue
