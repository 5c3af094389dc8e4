#include "catalogue/params.hpp"
#include "indicators/core/floor_pivots.hpp"

namespace ostrel::kinds {

// Fibonacci pivots: the pivot point plus and minus 0.382, 0.618 and 1 times the range.
class FibonacciPivots final : public core::FloorPivots<FibonacciPivots, 7> {
public:
    static constexpr std::array<std::string_view, 7> NAMES = {"pp", "r1", "r2", "r3", "s1", "s2", "s3"};
    static std::array<double, 7> levels(const Candle& c) {
        const double r = c.high - c.low;
        const double pp = core::floor_pivot_point(c);
        return {pp, pp + 0.382 * r, pp + 0.618 * r, pp + r, pp - 0.382 * r, pp - 0.618 * r, pp - r};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibonacciPivots(std::span<const double>) { return box_kind(kinds::FibonacciPivots{}); }

}  // namespace ostrel::catalogue
