#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/wilder_atr.hpp"

namespace ostrel::kinds {

// A long-side exit `multiplier` average true ranges below the close, trailing up;
// after a close below it the level holds until the close rises more than one offset
// above it, then it re-arms below that close.
class YoyoExit final : public Indicator {
public:
    static Expected<YoyoExit, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return YoyoExit(atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        const double close = c->close;
        const double offset = *atr * multiplier_;
        if (!stop_) {
            stop_ = close - offset;
        } else if (is_long_) {
            if (close < *stop_) {
                is_long_ = false;
            } else if (close - offset > *stop_) {
                stop_ = close - offset;
            }
        } else if (close > *stop_ + offset) {
            is_long_ = true;
            stop_ = close - offset;
        }
        return stop_;
    }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    YoyoExit(core::WilderAtr atr, double multiplier) : atr_(atr), multiplier_(multiplier) {}

    core::WilderAtr atr_;
    std::optional<double> stop_;
    bool is_long_ = true;
    double multiplier_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_YoyoExit(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "YoyoExit"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "YoyoExit"));
    return box_kind<kinds::YoyoExit>("YoyoExit", kinds::YoyoExit::make(period, multiplier));
}

}  // namespace ostrel::catalogue
