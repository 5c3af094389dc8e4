#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"

namespace ostrel::kinds {

// Camarilla levels: the close plus and minus 1.1 times the range over 12, 6, 4 and 2.
class Camarilla final : public core::FloorPivots<Camarilla, 9> {
public:
    static constexpr std::array<std::string_view, 9> NAMES = {"pp", "r1", "r2", "r3", "r4",
                                                               "s1", "s2", "s3", "s4"};
    static std::array<double, 9> levels(const Candle& c) {
        const double cl = c.close;
        const double k = 1.1 * (c.high - c.low);
        return {core::floor_pivot_point(c), cl + k / 12.0, cl + k / 6.0, cl + k / 4.0, cl + k / 2.0,
                cl - k / 12.0,              cl - k / 6.0,  cl - k / 4.0, cl - k / 2.0};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Camarilla(std::span<const double>) { return box_kind(kinds::Camarilla{}); }

}  // namespace ostrel::catalogue
