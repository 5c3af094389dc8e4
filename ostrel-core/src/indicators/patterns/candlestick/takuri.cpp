#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji-sized body at the top of a lower shadow of at least 0.7 of the range.
class Takuri final : public core::CandlePattern<Takuri, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body > 0.1 * x.range) return core::PATTERN_NONE;
        if (x.lower_shadow() >= 0.7 * x.range && x.upper_shadow() <= 0.05 * x.range) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Takuri(std::span<const double>) { return box_kind(kinds::Takuri{}); }

}  // namespace ostrel::catalogue
