#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// The band between the 0.618 and 0.65 retracements of the last swing.
class GoldenPocket final : public core::SwingLevels<GoldenPocket, 2, 2, 3> {
public:
    static constexpr std::array<std::string_view, 3> NAMES = {"low", "mid", "high"};
    std::array<double, 3> levels(const core::SwingTracker& t) const {
        const double p1 = t.pivot(1).price;
        const double d = t.pivot(0).price - p1;
        const double a = p1 + 0.618 * d;
        const double b = p1 + 0.65 * d;
        const double low = core::min_ignoring_nan(a, b);
        const double high = core::max_ignoring_nan(a, b);
        return {low, midpoint(low, high), high};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GoldenPocket(std::span<const double>) { return box_kind(kinds::GoldenPocket{}); }

}  // namespace ostrel::catalogue
