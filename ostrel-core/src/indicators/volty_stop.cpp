#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/wilder_atr.hpp"

namespace ostrel::kinds {

// A stop `multiplier` average true ranges behind the most favourable close of the
// current side; a close beyond it reverses the side.
class VoltyStop final : public Indicator {
public:
    static Expected<VoltyStop, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return VoltyStop(atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        const double close = c->close;
        const double offset = *atr * multiplier_;
        if (!anchor_) {
            anchor_ = close;
            is_long_ = true;
            return close - offset;
        }
        const double anchor = *anchor_;
        if (is_long_) {
            if (close < anchor - offset) {
                is_long_ = false;
                anchor_ = close;
                return close + offset;
            }
            if (close > anchor) anchor_ = close;
            return *anchor_ - offset;
        }
        if (close > anchor + offset) {
            is_long_ = true;
            anchor_ = close;
            return close - offset;
        }
        if (close < anchor) anchor_ = close;
        return *anchor_ + offset;
    }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    VoltyStop(core::WilderAtr atr, double multiplier) : atr_(atr), multiplier_(multiplier) {}

    core::WilderAtr atr_;
    std::optional<double> anchor_;
    bool is_long_ = true;
    double multiplier_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VoltyStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VoltyStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "VoltyStop"));
    return box_kind<kinds::VoltyStop>("VoltyStop", kinds::VoltyStop::make(period, multiplier));
}

}  // namespace ostrel::catalogue
