#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji with a long lower shadow and almost no upper one (bullish only).
class DragonflyDoji final : public core::CandlePattern<DragonflyDoji, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body > 0.1 * x.range) return core::PATTERN_NONE;
        if (x.lower_shadow() >= 0.5 * x.range && x.upper_shadow() <= 0.1 * x.range) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DragonflyDoji(std::span<const double>) { return box_kind(kinds::DragonflyDoji{}); }

}  // namespace ostrel::catalogue
