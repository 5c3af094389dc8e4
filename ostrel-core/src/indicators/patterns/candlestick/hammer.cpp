#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A lower shadow of at least twice the body and an upper shadow of at most the body.
class Hammer final : public core::CandlePattern<Hammer, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.h <= x.l || x.c - x.o == 0) return core::PATTERN_NONE;
        if (x.lower_shadow() >= x.body + x.body && x.upper_shadow() <= x.body) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Hammer(std::span<const double>) { return box_kind(kinds::Hammer{}); }

}  // namespace ostrel::catalogue
