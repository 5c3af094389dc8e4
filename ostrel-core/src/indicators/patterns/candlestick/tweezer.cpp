#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Matching lows (bottom, tested first) or matching highs (top) within a relative
// tolerance; colours are not examined.
class Tweezer final : public core::CandlePattern<Tweezer, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (std::fabs(k2.l - k1.l) <= tolerance_ * std::max(std::fabs(k2.l), std::fabs(k1.l))) return core::PATTERN_BULLISH;
        if (std::fabs(k2.h - k1.h) <= tolerance_ * std::max(std::fabs(k2.h), std::fabs(k1.h))) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double tolerance_ = 0.001;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tweezer(std::span<const double>) { return box_kind(kinds::Tweezer{}); }

}  // namespace ostrel::catalogue
