#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Trade volume index: a running total that adds the bar's volume while the close
// last moved up by more than `min_tick` and subtracts it while it last moved down;
// moves within the tick keep the direction (none until the first move).
class TradeVolumeIndex final : public Indicator {
public:
    static Expected<TradeVolumeIndex, IndicatorError> make(double min_tick) {
        if (!std::isfinite(min_tick) || min_tick < 0.0)
            return IndicatorError::invalid_parameter("trade volume index min_tick must be finite and non-negative");
        return TradeVolumeIndex(min_tick);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double d = c->close - *prev_close_;
        if (d > min_tick_) {
            direction_ = 1.0;
        } else if (d < -min_tick_) {
            direction_ = -1.0;
        }
        index_ = index_ + c->volume * direction_;
        prev_close_ = c->close;
        last_ = index_;
        return index_;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit TradeVolumeIndex(double min_tick) : min_tick_(min_tick) {}

    std::optional<double> prev_close_;
    std::optional<double> last_;
    double min_tick_;
    double direction_ = 0.0;
    double index_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TradeVolumeIndex(std::span<const double> p) {
    OSTREL_TRY(min_tick, param_f64(p, 0, "TradeVolumeIndex"));
    return box_kind<kinds::TradeVolumeIndex>("TradeVolumeIndex", kinds::TradeVolumeIndex::make(min_tick));
}

}  // namespace ostrel::catalogue
