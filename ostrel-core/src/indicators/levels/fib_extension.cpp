#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Extension levels of the last swing, measured from its older pivot.
class FibExtension final : public core::SwingLevels<FibExtension, 2, 2, 5> {
public:
    static constexpr std::array<std::string_view, 5> NAMES = {"level_1272", "level_1414", "level_1618",
                                                               "level_2000", "level_2618"};
    std::array<double, 5> levels(const core::SwingTracker& t) const {
        const double p0 = t.pivot(0).price;
        const double s = t.pivot(1).price - p0;
        return {p0 + 1.272 * s, p0 + 1.414 * s, p0 + 1.618 * s, p0 + (s + s), p0 + 2.618 * s};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibExtension(std::span<const double>) { return box_kind(kinds::FibExtension{}); }

}  // namespace ostrel::catalogue
