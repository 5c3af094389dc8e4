#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// A base line through pivots A and C projected to the current bar, and parallels
// at 0.618, 1 and 1.618 times B's offset from it.
class FibChannel final : public core::SwingLevels<FibChannel, 3, 3, 4> {
public:
    static constexpr std::array<std::string_view, 4> NAMES = {"base", "level_618", "level_1000", "level_1618"};
    std::array<double, 4> levels(const core::SwingTracker& t) const {
        const core::SwingPivot& a = t.pivot(0);
        const core::SwingPivot& b = t.pivot(1);
        const core::SwingPivot& c = t.pivot(2);
        const double s = (c.price - a.price) / bars_between(c.index, a.index);
        const double base = a.price + s * bars_between(current_bar(t), a.index);
        const double o = b.price - (a.price + s * bars_between(b.index, a.index));
        return {base, base + 0.618 * o, base + o, base + 1.618 * o};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibChannel(std::span<const double>) { return box_kind(kinds::FibChannel{}); }

}  // namespace ostrel::catalogue
