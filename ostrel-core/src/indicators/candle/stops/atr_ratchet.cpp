#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// A stop set `multiplier` average true ranges from the close that moves towards the
// price by `ratchet_step` average true ranges on every bar until the close crosses
// it, then restarts on the other side.
class AtrRatchet final : public Indicator {
public:
    static Expected<AtrRatchet, IndicatorError> make(std::size_t period, double multiplier, double ratchet) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0) || !std::isfinite(ratchet) || !(ratchet > 0.0)) {
            return IndicatorError::non_positive_multiplier();
        }
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return AtrRatchet(atr, multiplier, ratchet);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        const double a = *atr;
        const double close = c->close;
        if (direction_ == 0.0) {
            direction_ = 1.0;
            stop_ = close - a * multiplier_;
        } else if (direction_ > 0.0) {
            stop_ = stop_ + a * ratchet_;
            if (close < stop_) {
                direction_ = -1.0;
                stop_ = close + a * multiplier_;
            }
        } else {
            stop_ = stop_ - a * ratchet_;
            if (close > stop_) {
                direction_ = 1.0;
                stop_ = close - a * multiplier_;
            }
        }
        outputs_.store({stop_, direction_});
        return stop_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    AtrRatchet(core::WilderAtr atr, double multiplier, double ratchet)
        : atr_(atr), outputs_({"value", "direction"}), multiplier_(multiplier), ratchet_(ratchet) {}

    core::WilderAtr atr_;
    double direction_ = 0.0;  // 0 before the first value, then +1 or -1
    double stop_ = 0.0;
    OutputSlots<2> outputs_;
    double multiplier_;
    double ratchet_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AtrRatchet(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AtrRatchet"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "AtrRatchet"));
    OSTREL_TRY(ratchet_step, param_f64(p, 2, "AtrRatchet"));
    return box_kind<kinds::AtrRatchet>("AtrRatchet", kinds::AtrRatchet::make(period, multiplier, ratchet_step));
}

}  // namespace ostrel::catalogue
