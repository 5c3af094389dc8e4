#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two shrinking black candles with rising lows, then a shadowless black candle inside the
// second (bullish only).
class ThreeStarsInSouth final : public core::CandlePattern<ThreeStarsInSouth, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        const double e = tolerance_ * std::max(std::fabs(k3.h), std::fabs(k3.l));
        if (k1.c < k1.o && k1.c - k1.l >= k1.o - k1.c && k2.c < k2.o && k1.o - k1.c > k2.o - k2.c && k1.c <= k2.o &&
            k2.o <= k1.o && k2.l > k1.l && k2.c > k1.c && k3.c < k3.o && k3.h < k2.h && k3.l > k2.l &&
            k3.h - k3.o <= e && k3.c - k3.l <= e)
            return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }

private:
    double tolerance_ = 0.001;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeStarsInSouth(std::span<const double>) { return box_kind(kinds::ThreeStarsInSouth{}); }

}  // namespace ostrel::catalogue
