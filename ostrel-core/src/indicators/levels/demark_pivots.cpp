#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"

namespace ostrel::kinds {

// DeMark pivots: the extreme on the side the candle closed toward weighs twice.
class DemarkPivots final : public core::FloorPivots<DemarkPivots, 3> {
public:
    static constexpr std::array<std::string_view, 3> NAMES = {"pp", "r1", "s1"};
    static std::array<double, 3> levels(const Candle& c) {
        const double h = c.high, l = c.low, cl = c.close;
        double x;
        if (cl > c.open)
            x = 2.0 * h + l + cl;
        else if (cl < c.open)
            x = h + 2.0 * l + cl;
        else
            x = h + l + 2.0 * cl;
        return {x / 4.0, x / 2.0 - l, x / 2.0 - h};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DemarkPivots(std::span<const double>) { return box_kind(kinds::DemarkPivots{}); }

}  // namespace ostrel::catalogue
