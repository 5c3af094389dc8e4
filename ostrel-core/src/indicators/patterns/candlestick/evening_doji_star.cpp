#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long white candle, a doji gapping above its close, then a black candle below the
// doji closing well into the first body (bearish only).
class EveningDojiStar final : public core::CandlePattern<EveningDojiStar, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.range <= 0 || k2.range <= 0) return core::PATTERN_NONE;
        if (k1.c - k1.o < 0.5 * k1.range) return core::PATTERN_NONE;
        if (k2.body > 0.1 * k2.range) return core::PATTERN_NONE;
        if (k3.top < k2.bottom && k3.c < k3.o && k2.bottom > k1.c && k3.c < k1.c - penetration_ * (k1.c - k1.o))
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double penetration_ = 0.3;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EveningDojiStar(std::span<const double>) { return box_kind(kinds::EveningDojiStar{}); }

}  // namespace ostrel::catalogue
