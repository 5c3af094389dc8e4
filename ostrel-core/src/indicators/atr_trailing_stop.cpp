#include <cmath>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/wilder_atr.hpp"

namespace ostrel::kinds {

// A stop `multiplier` average true ranges from the close: below it while the close
// is above the last stop, above it otherwise; it ratchets only while two
// consecutive closes stay on the same side.
class AtrTrailingStop final : public Indicator {
public:
    static Expected<AtrTrailingStop, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return AtrTrailingStop(atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        const double close = c->close;
        const double offset = *atr * multiplier_;
        double stop;
        if (!last_) {
            stop = close - offset;
        } else {
            const double s = last_->first;
            const double p = last_->second;
            if (close > s) {
                double candidate = close - offset;
                stop = p > s ? (candidate > s ? candidate : s) : candidate;
            } else {
                double candidate = close + offset;
                stop = (close < s && p < s) ? (candidate < s ? candidate : s) : candidate;
            }
        }
        last_ = std::pair<double, double>{stop, close};
        return stop;
    }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    AtrTrailingStop(core::WilderAtr atr, double multiplier) : atr_(atr), multiplier_(multiplier) {}

    core::WilderAtr atr_;
    std::optional<std::pair<double, double>> last_;  // (stop, close it was set at)
    double multiplier_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AtrTrailingStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AtrTrailingStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "AtrTrailingStop"));
    return box_kind<kinds::AtrTrailingStop>("AtrTrailingStop", kinds::AtrTrailingStop::make(period, multiplier));
}

}  // namespace ostrel::catalogue
