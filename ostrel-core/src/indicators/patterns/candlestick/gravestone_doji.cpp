#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A doji with a long upper shadow and almost no lower one (bearish only).
class GravestoneDoji final : public core::CandlePattern<GravestoneDoji, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.body > 0.1 * x.range) return core::PATTERN_NONE;
        if (x.upper_shadow() >= 0.5 * x.range && x.lower_shadow() <= 0.1 * x.range) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GravestoneDoji(std::span<const double>) { return box_kind(kinds::GravestoneDoji{}); }

}  // namespace ostrel::catalogue
