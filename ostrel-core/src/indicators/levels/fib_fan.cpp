#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Fan lines from the older pivot of the last swing, projected to the current bar:
// the swing's slope scaled by 0.618, 0.5 and 0.382 ("fan_382" keeps 0.618 of it).
class FibFan final : public core::SwingLevels<FibFan, 2, 2, 3> {
public:
    static constexpr std::array<std::string_view, 3> NAMES = {"fan_382", "fan_500", "fan_618"};
    std::array<double, 3> levels(const core::SwingTracker& t) const {
        const core::SwingPivot& p0 = t.pivot(0);
        const core::SwingPivot& p1 = t.pivot(1);
        const double s = p1.price - p0.price;
        const double span = bars_between(p1.index, p0.index);
        const double r = bars_between(current_bar(t), p0.index) / span;
        return {p0.price + 0.618 * s * r, p0.price + 0.5 * s * r, p0.price + 0.382 * s * r};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibFan(std::span<const double>) { return box_kind(kinds::FibFan{}); }

}  // namespace ostrel::catalogue
