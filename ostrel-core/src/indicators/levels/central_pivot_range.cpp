#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Central pivot range: the pivot point and the band between the range's midpoint
// and its mirror about the pivot, top and bottom.
class CentralPivotRange final : public core::FloorPivots<CentralPivotRange, 3> {
public:
    static constexpr std::array<std::string_view, 3> NAMES = {"pivot", "tc", "bc"};
    static std::array<double, 3> levels(const Candle& c) {
        const double pivot = core::floor_pivot_point(c);
        const double m = midpoint(c.high, c.low);
        const double t = 2.0 * pivot - m;
        return {pivot, core::max_ignoring_nan(t, m), core::min_ignoring_nan(t, m)};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CentralPivotRange(std::span<const double>) { return box_kind(kinds::CentralPivotRange{}); }

}  // namespace ostrel::catalogue
