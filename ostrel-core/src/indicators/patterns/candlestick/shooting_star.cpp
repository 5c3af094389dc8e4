#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// An upper shadow of at least twice the body and a lower shadow of at most the body (bearish only).
class ShootingStar final : public core::CandlePattern<ShootingStar, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.c - x.o == 0) return core::PATTERN_NONE;
        if (x.upper_shadow() >= x.body + x.body && x.lower_shadow() <= x.body) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ShootingStar(std::span<const double>) { return box_kind(kinds::ShootingStar{}); }

}  // namespace ostrel::catalogue
