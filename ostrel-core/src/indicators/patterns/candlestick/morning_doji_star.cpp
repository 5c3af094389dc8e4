#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long black candle, a doji gapping below its close, then a white candle above the
// doji closing well into the first body (bullish only).
class MorningDojiStar final : public core::CandlePattern<MorningDojiStar, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.range <= 0 || k2.range <= 0) return core::PATTERN_NONE;
        if (k1.o - k1.c >= 0.5 * k1.range && k2.body <= 0.1 * k2.range && k3.bottom > k2.top && k3.c > k3.o &&
            k2.top < k1.c && k3.c > k1.c + penetration_ * (k1.o - k1.c))
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }

private:
    double penetration_ = 0.3;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MorningDojiStar(std::span<const double>) { return box_kind(kinds::MorningDojiStar{}); }

}  // namespace ostrel::catalogue
