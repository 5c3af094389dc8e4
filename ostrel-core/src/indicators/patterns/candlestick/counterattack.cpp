#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two opposite bodies of at least half their ranges closing at the same level, within a
// fraction of their mean range.
class Counterattack final : public core::CandlePattern<Counterattack, 2> {
public:
    double test(const core::CandleShapes<2>& w) const {
        const auto& [k1, k2] = w;
        if (!(k2.body >= 0.5 * k2.range && k1.body >= 0.5 * k1.range &&
              std::fabs(k2.c - k1.c) <= (k2.range + k1.range) * (tolerance_ * 0.5)))
            return core::PATTERN_NONE;
        if (k2.c > k2.o && k1.c < k1.o) return core::PATTERN_BULLISH;
        if (k1.c > k1.o && k2.c < k2.o) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double tolerance_ = 0.05;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Counterattack(std::span<const double>) { return box_kind(kinds::Counterattack{}); }

}  // namespace ostrel::catalogue
