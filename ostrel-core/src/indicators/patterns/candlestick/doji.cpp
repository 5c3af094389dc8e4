#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A body of at most a tenth of the range.
class Doji final : public core::CandlePattern<Doji, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.range <= 0) return core::PATTERN_NONE;
        if (x.body > body_fraction_ * x.range) return core::PATTERN_NONE;
        return core::PATTERN_BULLISH;
    }

private:
    double body_fraction_ = 0.1;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Doji(std::span<const double>) { return box_kind(kinds::Doji{}); }

}  // namespace ostrel::catalogue
