#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A price-level doji isolated by strict shadow gaps on both sides, then a candle
// moving away from it.
class AbandonedBaby final : public core::CandlePattern<AbandonedBaby, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k2.body > tolerance_ * std::max(std::fabs(k2.o), std::fabs(k2.c))) return core::PATTERN_NONE;
        if (k1.c < k1.o && k2.h < k1.l && k3.c > k3.o && k3.l > k2.h) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.l > k1.h && k3.h < k2.l && k3.c < k3.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double tolerance_ = 0.001;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AbandonedBaby(std::span<const double>) { return box_kind(kinds::AbandonedBaby{}); }

}  // namespace ostrel::catalogue
