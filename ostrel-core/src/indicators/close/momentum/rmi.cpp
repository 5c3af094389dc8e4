#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Relative momentum index: an RSI of the change over `momentum_period` closes,
// smoothed as (new + avg x (n - 1)) / n without fusing.
class Rmi final : public Indicator {
public:
    static Expected<Rmi, IndicatorError> make(std::size_t period, std::size_t momentum_period) {
        if (period == 0 || momentum_period == 0) return IndicatorError::zero_period();
        // The window is reserved in full; refuse lengths no window may have.
        if (period > MAX_PERIOD || momentum_period > MAX_PERIOD) return IndicatorError::too_long();
        return Rmi(period, momentum_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!closes_.full()) {
            closes_.push(close);
            return std::nullopt;
        }
        const double change = close - closes_.oldest();
        closes_.push(close);
        const double up = change > 0.0 ? change : 0.0;
        const double down = change < 0.0 ? -change : 0.0;
        const double n = static_cast<double>(period_);
        if (!seeded_) {
            seed_up_sum_ = seed_up_sum_ + up;
            seed_down_sum_ = seed_down_sum_ + down;
            if (++seed_count_ < period_) return std::nullopt;
            avg_up_ = seed_up_sum_ / n;
            avg_down_ = seed_down_sum_ / n;
            seeded_ = true;
        } else {
            avg_up_ = (up + avg_up_ * (n - 1.0)) / n;
            avg_down_ = (down + avg_down_ * (n - 1.0)) / n;
        }
        const double total = avg_up_ + avg_down_;
        if (total == 0.0) return 50.0;
        return (avg_up_ / total) * 100.0;
    }
    std::size_t warmup_period() const override { return period_ + momentum_period_; }

private:
    Rmi(std::size_t period, std::size_t momentum_period)
        : closes_(momentum_period), period_(period), momentum_period_(momentum_period) {}

    double avg_up_ = 0.0;
    double avg_down_ = 0.0;
    bool seeded_ = false;
    core::Ring<double> closes_;
    // Seeds summed as they arrive: the same left-to-right sums as the seed lists.
    double seed_up_sum_ = 0.0;
    double seed_down_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    std::size_t period_;
    std::size_t momentum_period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rmi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rmi"));
    OSTREL_TRY(momentum_period, param_usize(p, 1, "Rmi"));
    return box_kind<kinds::Rmi>("Rmi", kinds::Rmi::make(period, momentum_period));
}

}  // namespace ostrel::catalogue
