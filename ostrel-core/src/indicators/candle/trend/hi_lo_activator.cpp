#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Gann high-low activator: the previous bar's average of lows while the trend is
// up, of highs while it is down; the close crossing the other average flips it.
class HiLoActivator final : public Indicator {
public:
    static Expected<HiLoActivator, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return HiLoActivator(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (highs_.full()) {
            high_sum_ = high_sum_ - highs_.oldest();
            low_sum_ = low_sum_ - lows_.oldest();
            highs_.pop_oldest();
            lows_.pop_oldest();
        }
        highs_.push(c->high);
        lows_.push(c->low);
        high_sum_ = c->high + high_sum_;
        low_sum_ = c->low + low_sum_;
        if (++pushes_ == period_) {
            double h = -0.0, l = -0.0;
            highs_.for_each([&](double v) { h = h + v; });
            lows_.for_each([&](double v) { l = l + v; });
            high_sum_ = h;
            low_sum_ = l;
            pushes_ = 0;
        }
        if (!highs_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double avg_high = high_sum_ / n;
        double avg_low = low_sum_ / n;
        if (!has_prev_) {
            prev_high_ = avg_high;
            prev_low_ = avg_low;
            has_prev_ = true;
            return std::nullopt;
        }
        if (c->close > prev_high_) {
            up_ = true;
        } else if (c->close < prev_low_) {
            up_ = false;
        }
        double value = up_ ? prev_low_ : prev_high_;
        prev_high_ = avg_high;
        prev_low_ = avg_low;
        return value;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit HiLoActivator(std::size_t period) : highs_(period), lows_(period), period_(period) {}

    bool has_prev_ = false;
    double prev_high_ = 0.0;
    double prev_low_ = 0.0;
    core::Ring<double> highs_;
    core::Ring<double> lows_;
    std::size_t period_;
    double high_sum_ = 0.0;
    double low_sum_ = 0.0;
    std::size_t pushes_ = 0;
    bool up_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HiLoActivator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HiLoActivator"));
    return box_kind<kinds::HiLoActivator>("HiLoActivator", kinds::HiLoActivator::make(period));
}

}  // namespace ostrel::catalogue
