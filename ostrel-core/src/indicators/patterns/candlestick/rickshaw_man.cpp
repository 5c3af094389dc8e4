#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long-legged doji whose body centre lies in the middle fifth of the range.
class RickshawMan final : public core::CandlePattern<RickshawMan, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body > 0.1 * x.range) return core::PATTERN_NONE;
        if (!(x.upper_shadow() >= 0.3 * x.range && x.lower_shadow() >= 0.3 * x.range)) return core::PATTERN_NONE;
        // Written so that a NaN position fails.
        const double position = (midpoint(x.o, x.c) - x.l) / x.range;
        if (0.4 <= position && position <= 0.6) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RickshawMan(std::span<const double>) { return box_kind(kinds::RickshawMan{}); }

}  // namespace ostrel::catalogue
