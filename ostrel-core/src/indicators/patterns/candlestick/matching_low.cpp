#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two black candles closing at the same level, within 5% of their mean range
// (bullish only).
class MatchingLow final : public core::CandlePattern<MatchingLow, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (k1.c < k1.o && k2.c < k2.o && std::fabs(k2.c - k1.c) <= 0.05 * midpoint(k2.range, k1.range)) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MatchingLow(std::span<const double>) { return box_kind(kinds::MatchingLow{}); }

}  // namespace ostrel::catalogue
