#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Both shadows at least 0.4 of the range, whatever the body.
class HighWave final : public core::CandlePattern<HighWave, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0) return core::PATTERN_NONE;
        if (x.lower_shadow() >= 0.4 * x.range && x.upper_shadow() >= 0.4 * x.range) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HighWave(std::span<const double>) { return box_kind(kinds::HighWave{}); }

}  // namespace ostrel::catalogue
