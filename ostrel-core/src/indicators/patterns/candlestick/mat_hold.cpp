#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A long white candle, three small candles holding above its lower part, then a white
// candle closing above every earlier high (bullish only).
class MatHold final : public core::CandlePattern<MatHold, 5> {
public:
    double test(const core::CandleShapes<5>& w) const {
        const auto& [k1, k2, k3, k4, k5] = w;
        if (!(k1.range > 0 && k1.c - k1.o >= 0.5 * k1.range)) return core::PATTERN_NONE;
        const double limit = 0.5 * (k1.c - k1.o);
        if (!(k2.body <= limit && k3.body <= limit && k4.body <= limit)) return core::PATTERN_NONE;
        if (!(k2.bottom > k1.c)) return core::PATTERN_NONE;
        if (!(std::min({k2.l, k3.l, k4.l}) > k1.c - penetration_ * (k1.c - k1.o))) return core::PATTERN_NONE;
        if (k5.c > k5.o && k5.c > std::max({k1.h, k2.h, k3.h, k4.h})) return core::PATTERN_BULLISH;
        return core::PATTERN_NONE;
    }

private:
    double penetration_ = 0.5;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MatHold(std::span<const double>) { return box_kind(kinds::MatHold{}); }

}  // namespace ostrel::catalogue
