#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Trailing stop whose distance is the mean plus `multiplier` sample deviations of
// the two-bar ranges of the window, kept from the extreme of the current side.
class KaseDevStop final : public Indicator {
public:
    static Expected<KaseDevStop, IndicatorError> make(std::size_t period, double multiplier) {
        if (period < 2) return IndicatorError::invalid_period("Kase DevStop period must be >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return KaseDevStop(period, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_) {
            prev_ = *c;
            return std::nullopt;
        }
        const double h = c->high, l = c->low, close = c->close;
        double hi = h > prev_->high ? h : prev_->high;
        double lo = l < prev_->low ? l : prev_->low;
        prev_ = *c;
        push(hi - lo);
        if (!ranges_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double m = s1_ / n;
        double mean = k_ + m;
        double variance = std::fma(n, -(m * m), s2_) / (n - 1.0);
        if (!(variance > 0.0)) variance = 0.0;
        double offset = mean + multiplier_ * std::sqrt(variance);
        if (direction_ == 0.0) {
            direction_ = 1.0;
            extreme_ = h;
            stop_ = h - offset;
        } else if (direction_ > 0.0) {
            if (h > extreme_) extreme_ = h;
            if (extreme_ - offset > stop_) stop_ = extreme_ - offset;
            if (close < stop_) {
                direction_ = -1.0;
                extreme_ = l;
                stop_ = l + offset;
            }
        } else {
            if (l < extreme_) extreme_ = l;
            if (extreme_ + offset < stop_) stop_ = extreme_ + offset;
            if (close > stop_) {
                direction_ = 1.0;
                extreme_ = h;
                stop_ = h - offset;
            }
        }
        outputs_.store({stop_, direction_});
        return stop_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    KaseDevStop(std::size_t period, double multiplier)
        : ranges_(period), period_(period), multiplier_(multiplier), outputs_({"value", "direction"}) {}

    // Sums of deviations about the anchor K, re-anchored at the window mean every
    // `period` values.
    void push(double x) {
        if (ranges_.full()) {
            double d = ranges_.oldest() - k_;
            ranges_.pop_oldest();
            s1_ = s1_ - d;
            s2_ = s2_ - d * d;
        }
        ranges_.push(x);
        if (!anchored_) {
            k_ = x;
            anchored_ = true;
        }
        double d = x - k_;
        s1_ = s1_ + d;
        s2_ = s2_ + d * d;
        if (++since_anchor_ == period_) {
            double sum = 0.0;
            ranges_.for_each([&](double v) { sum = sum + v; });
            k_ = sum / static_cast<double>(ranges_.size());
            double a = 0.0, b = 0.0;
            ranges_.for_each([&](double v) {
                double e = v - k_;
                a = a + e;
                b = b + e * e;
            });
            s1_ = a;
            s2_ = b;
            since_anchor_ = 0;
        }
    }

    std::optional<Candle> prev_;
    core::Ring<double> ranges_;
    double k_ = 0.0;
    double s1_ = 0.0;
    double s2_ = 0.0;
    std::size_t since_anchor_ = 0;
    bool anchored_ = false;
    std::size_t period_;
    double multiplier_;
    double direction_ = 0.0;  // 0 before the first value, then +1 or -1
    double extreme_ = 0.0;
    double stop_ = 0.0;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KaseDevStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "KaseDevStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "KaseDevStop"));
    return box_kind<kinds::KaseDevStop>("KaseDevStop", kinds::KaseDevStop::make(period, multiplier));
}

}  // namespace ostrel::catalogue
