#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// The swing A -> B projected from C.
class FibProjection final : public core::SwingLevels<FibProjection, 3, 3, 4> {
public:
    static constexpr std::array<std::string_view, 4> NAMES = {"level_618", "level_1000", "level_1618",
                                                               "level_2618"};
    std::array<double, 4> levels(const core::SwingTracker& t) const {
        const double a = t.pivot(0).price, b = t.pivot(1).price, c = t.pivot(2).price;
        const double s = b - a;
        return {c + 0.618 * s, c + s, c + 1.618 * s, c + 2.618 * s};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibProjection(std::span<const double>) { return box_kind(kinds::FibProjection{}); }

}  // namespace ostrel::catalogue
