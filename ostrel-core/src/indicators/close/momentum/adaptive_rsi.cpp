#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// RSI whose smoothing constant follows the efficiency ratio of the closes over the
// last `period` changes (between the 2/31 and 2/3 exponential constants, squared).
class AdaptiveRsi final : public Indicator {
public:
    static Expected<AdaptiveRsi, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return AdaptiveRsi(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = close;
            closes_.push(close);
            return std::nullopt;
        }
        const double change = close - *prev_close_;
        prev_close_ = close;
        closes_.push(close);
        if (abs_changes_.full()) {
            volatility_ = volatility_ - abs_changes_.oldest();
            abs_changes_.pop_oldest();
        }
        const double magnitude = std::fabs(change);
        abs_changes_.push(magnitude);
        volatility_ = volatility_ + magnitude;  // running sum, never re-summed

        const double gain = change > 0.0 ? change : 0.0;
        const double loss = change < 0.0 ? -change : 0.0;
        if (!seeded_) {
            seed_gain_sum_ = seed_gain_sum_ + gain;
            seed_loss_sum_ = seed_loss_sum_ + loss;
            if (++seed_count_ != period_) return std::nullopt;
            const double n = static_cast<double>(seed_count_);
            avg_gain_ = seed_gain_sum_ / n;
            avg_loss_ = seed_loss_sum_ / n;
            seeded_ = true;
        } else {
            double sc = 0.004162330905306971;
            if (volatility_ != 0.0) {
                double er = std::fabs(close - closes_.oldest()) / volatility_;
                er = std::clamp(er, 0.0, 1.0);
                const double t = er * 0.6021505376344085 + 0.06451612903225806;
                sc = t * t;
            }
            avg_gain_ = avg_gain_ + (gain - avg_gain_) * sc;
            avg_loss_ = avg_loss_ + (loss - avg_loss_) * sc;
        }
        const double total = avg_gain_ + avg_loss_;
        if (total == 0.0) return 50.0;
        return (avg_gain_ / total) * 100.0;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit AdaptiveRsi(std::size_t period) : closes_(period + 1), abs_changes_(period), period_(period) {}

    std::optional<double> prev_close_;
    double avg_gain_ = 0.0;
    double avg_loss_ = 0.0;
    bool seeded_ = false;
    core::Ring<double> closes_;
    core::Ring<double> abs_changes_;
    std::size_t period_;
    double volatility_ = 0.0;
    double seed_gain_sum_ = 0.0;
    double seed_loss_sum_ = 0.0;
    std::size_t seed_count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdaptiveRsi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AdaptiveRsi"));
    return box_kind<kinds::AdaptiveRsi>("AdaptiveRsi", kinds::AdaptiveRsi::make(period));
}

}  // namespace ostrel::catalogue
