#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A candle with a body and shadows of at most 5% of the range at both ends.
class Marubozu final : public core::CandlePattern<Marubozu, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0 || x.c - x.o == 0) return core::PATTERN_NONE;
        if (!(x.upper_shadow() <= shadow_fraction_ * x.range && x.lower_shadow() <= shadow_fraction_ * x.range))
            return core::PATTERN_NONE;
        return x.c > x.o ? core::PATTERN_BULLISH : core::PATTERN_BEARISH;
    }

private:
    double shadow_fraction_ = 0.05;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Marubozu(std::span<const double>) { return box_kind(kinds::Marubozu{}); }

}  // namespace ostrel::catalogue
