#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/safe_zone_window.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Safe-zone stop: `multiplier` times the average penetration of the previous low
// (long side) or high (short side), averaged over the bars that did penetrate.
class ElderSafeZone final : public Indicator {
public:
    static Expected<ElderSafeZone, IndicatorError> make(std::size_t period, double multiplier) {
        OSTREL_TRY(down, core::SafeZoneWindow::make(period));
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return ElderSafeZone(std::move(down), *core::SafeZoneWindow::make(period), multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_) {
            prev_ = *c;
            return std::nullopt;
        }
        const double h = c->high, l = c->low, close = c->close;
        double down = prev_->low - l;
        double up = h - prev_->high;
        prev_ = *c;
        down_.push(down > 0.0 ? down : 0.0);
        up_.push(up > 0.0 ? up : 0.0);
        if (!down_.full()) return std::nullopt;
        double avg_down = average(down_);
        double avg_up = average(up_);
        double long_stop = l - avg_down * multiplier_;
        double short_stop = h + avg_up * multiplier_;
        if (direction_ == 0.0) {
            direction_ = 1.0;
            stop_ = long_stop;
        } else if (direction_ > 0.0) {
            if (long_stop > stop_) stop_ = long_stop;
            if (close < stop_) {
                direction_ = -1.0;
                stop_ = short_stop;
            }
        } else {
            if (short_stop < stop_) stop_ = short_stop;
            if (close > stop_) {
                direction_ = 1.0;
                stop_ = long_stop;
            }
        }
        outputs_.store({stop_, direction_});
        return stop_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return down_.period() + 1; }

private:
    ElderSafeZone(core::SafeZoneWindow down, core::SafeZoneWindow up, double multiplier)
        : down_(std::move(down)), up_(std::move(up)), multiplier_(multiplier), outputs_({"value", "direction"}) {}

    static double average(const core::SafeZoneWindow& w) {
        std::size_t n = w.positive_count();
        // A sum of penetrations read below 0 is a residue of those that left: 0.
        const double sum = core::not_below_zero(w.sum());
        return n == 0 ? 0.0 : sum / static_cast<double>(n);
    }

    std::optional<Candle> prev_;
    core::SafeZoneWindow down_;
    core::SafeZoneWindow up_;
    double multiplier_;
    double direction_ = 0.0;  // 0 before the first value, then +1 or -1
    double stop_ = 0.0;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ElderSafeZone(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ElderSafeZone"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "ElderSafeZone"));
    return box_kind<kinds::ElderSafeZone>("ElderSafeZone", kinds::ElderSafeZone::make(period, multiplier));
}

}  // namespace ostrel::catalogue
