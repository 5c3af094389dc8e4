#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Twiggs money flow: accumulation/distribution over the true range (the range
// stretched to the previous close), smoothed with Wilder's running average and
// divided by the volume smoothed the same way. Both averages are seeded with the
// mean of their first `period` inputs.
class TwiggsMoneyFlow final : public Indicator {
public:
    static Expected<TwiggsMoneyFlow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TwiggsMoneyFlow(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double true_high = core::max_ignoring_nan(c->high, *prev_close_);
        const double true_low = core::min_ignoring_nan(c->low, *prev_close_);
        const double tr = true_high - true_low;
        const double ad = tr > 0.0 ? (c->volume * (((c->close + c->close) - true_high) - true_low)) / tr : 0.0;
        prev_close_ = c->close;
        if (ad_smoothed_ && volume_smoothed_) {
            const double n = static_cast<double>(period_);
            ad_smoothed_ = *ad_smoothed_ + (ad - *ad_smoothed_) / n;
            volume_smoothed_ = *volume_smoothed_ + (c->volume - *volume_smoothed_) / n;
        } else {
            ad_seed_sum_ = ad_seed_sum_ + ad;
            volume_seed_sum_ = volume_seed_sum_ + c->volume;
            if (++seed_count_ < period_) return std::nullopt;
            const double count = static_cast<double>(seed_count_);
            ad_smoothed_ = ad_seed_sum_ / count;
            volume_smoothed_ = volume_seed_sum_ / count;
        }
        // The close lies within the true range, so no term exceeds its volume in size
        // and both averages weigh the same bars alike: the exact ratio lies within
        // -1..1. Rounding and the residue of huge bars can read the flow's average
        // larger than the volume's, where the quotient reads +-1 or just past it.
        const double flow = *ad_smoothed_;
        const double volume = *volume_smoothed_;
        const double value =
            volume == 0.0 ? 0.0 : (std::fabs(flow) > volume ? (flow < 0.0 ? -1.0 : 1.0) : flow / volume);
        last_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit TwiggsMoneyFlow(std::size_t period) : period_(period) {}

    std::optional<double> prev_close_;
    std::optional<double> ad_smoothed_;
    std::optional<double> volume_smoothed_;
    std::optional<double> last_;
    std::size_t period_;
    double ad_seed_sum_ = 0.0;
    double volume_seed_sum_ = 0.0;
    std::size_t seed_count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TwiggsMoneyFlow(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TwiggsMoneyFlow"));
    return box_kind<kinds::TwiggsMoneyFlow>("TwiggsMoneyFlow", kinds::TwiggsMoneyFlow::make(period));
}

}  // namespace ostrel::catalogue
