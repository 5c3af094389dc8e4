#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Black, white above the first close, black closing at the first close (bullish only).
class StickSandwich final : public core::CandlePattern<StickSandwich, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c < k1.o && k2.c > k2.o && k3.c < k3.o && k2.l > k1.c && std::fabs(k3.c - k1.c) <= 0.1 * k1.range)
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StickSandwich(std::span<const double>) { return box_kind(kinds::StickSandwich{}); }

}  // namespace ostrel::catalogue
