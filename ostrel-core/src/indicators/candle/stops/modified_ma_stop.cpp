#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// A stop that ratchets along the modified (Wilder) moving average of the close and
// flips when the close crosses it.
class ModifiedMaStop final : public Indicator {
public:
    static Expected<ModifiedMaStop, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return ModifiedMaStop(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double close = c->close;
        const double n = static_cast<double>(period_);
        if (has_mma_) {
            mma_ = (close + mma_ * (n - 1.0)) / n;
        } else {
            // The seed closes are only ever summed in arrival order.
            seed_sum_ = seed_sum_ + close;
            if (++seed_count_ < period_) return std::nullopt;
            mma_ = seed_sum_ / n;
            has_mma_ = true;
        }
        if (direction_ == 0.0) {
            direction_ = close < mma_ ? -1.0 : 1.0;
            stop_ = mma_;
        } else if (direction_ > 0.0) {
            if (mma_ > stop_) stop_ = mma_;
            if (close < stop_) {
                direction_ = -1.0;
                stop_ = mma_;
            }
        } else {
            if (mma_ < stop_) stop_ = mma_;
            if (close > stop_) {
                direction_ = 1.0;
                stop_ = mma_;
            }
        }
        outputs_.store({stop_, direction_});
        return stop_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit ModifiedMaStop(std::size_t period) : period_(period), outputs_({"value", "direction"}) {}

    double seed_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    bool has_mma_ = false;
    double mma_ = 0.0;
    double direction_ = 0.0;
    double stop_ = 0.0;
    std::size_t period_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ModifiedMaStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ModifiedMaStop"));
    return box_kind<kinds::ModifiedMaStop>("ModifiedMaStop", kinds::ModifiedMaStop::make(period));
}

}  // namespace ostrel::catalogue
