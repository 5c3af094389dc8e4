#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A small body with both shadows at least twice as long; the sign is the body's colour.
class SpinningTop final : public core::CandlePattern<SpinningTop, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.c - x.o == 0 || x.body > body_fraction_ * x.range) return core::PATTERN_NONE;
        const double twice = x.body + x.body;
        if (!(x.upper_shadow() >= twice && x.lower_shadow() >= twice)) return core::PATTERN_NONE;
        return x.c > x.o ? core::PATTERN_BULLISH : core::PATTERN_BEARISH;
    }

private:
    double body_fraction_ = 0.3;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SpinningTop(std::span<const double>) { return box_kind(kinds::SpinningTop{}); }

}  // namespace ostrel::catalogue
