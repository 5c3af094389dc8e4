#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji with both shadows at least 0.3 of the range.
class LongLeggedDoji final : public core::CandlePattern<LongLeggedDoji, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body > 0.1 * x.range) return core::PATTERN_NONE;
        if (x.lower_shadow() >= 0.3 * x.range && x.upper_shadow() >= 0.3 * x.range) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LongLeggedDoji(std::span<const double>) { return box_kind(kinds::LongLeggedDoji{}); }

}  // namespace ostrel::catalogue
