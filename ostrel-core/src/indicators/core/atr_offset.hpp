// The start shared by the close-trailing ATR stops: a multiplier checked before the
// period, a candle that fails its checks ignored, and each accepted candle turned into
// an offset of `multiplier` fused-step average true ranges.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::core {

class AtrOffset {
public:
    static Expected<AtrOffset, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, WilderAtr::make(period));
        return AtrOffset(atr, multiplier);
    }

    // The accepted candle and its offset, or nothing for a failing candle or while
    // the average is still filling.
    struct Step {
        const Candle* candle;
        double offset;
    };
    std::optional<Step> step(const FeedSnapshot& f) {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        return Step{c, *atr * multiplier_};
    }

    std::size_t period() const { return atr_.period(); }

private:
    AtrOffset(WilderAtr atr, double multiplier) : atr_(atr), multiplier_(multiplier) {}

    WilderAtr atr_;
    double multiplier_;
};

}  // namespace ostrel::core
