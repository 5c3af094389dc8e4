#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"

namespace ostrel::kinds {

// Classic floor pivots: three resistances and three supports around (H + L + C) / 3.
class ClassicPivots final : public core::FloorPivots<ClassicPivots, 7> {
public:
    static constexpr std::array<std::string_view, 7> NAMES = {"pp", "r1", "r2", "r3", "s1", "s2", "s3"};
    static std::array<double, 7> levels(const Candle& c) {
        const double h = c.high, l = c.low;
        const double r = h - l;
        const double pp = core::floor_pivot_point(c);
        return {pp, 2.0 * pp - l, pp + r, h + 2.0 * (pp - l), 2.0 * pp - h, pp - r, l - 2.0 * (h - pp)};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ClassicPivots(std::span<const double>) { return box_kind(kinds::ClassicPivots{}); }

}  // namespace ostrel::catalogue
