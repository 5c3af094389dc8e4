#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"

namespace ostrel::kinds {

// Woodie pivots: the pivot point weights the close twice.
class WoodiePivots final : public core::FloorPivots<WoodiePivots, 5> {
public:
    static constexpr std::array<std::string_view, 5> NAMES = {"pp", "r1", "r2", "s1", "s2"};
    static std::array<double, 5> levels(const Candle& c) {
        const double h = c.high, l = c.low;
        const double r = h - l;
        const double pp = (h + l + 2.0 * c.close) * 0.25;
        return {pp, 2.0 * pp - l, pp + r, 2.0 * pp - h, pp - r};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WoodiePivots(std::span<const double>) { return box_kind(kinds::WoodiePivots{}); }

}  // namespace ostrel::catalogue
