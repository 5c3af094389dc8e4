#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Demand index: buying against selling pressure, each the bar's volume ratio on one
// side and that ratio damped by the price change on the other, smoothed
// exponentially; the last value stands on a bar without volume, price or range.
// A window whose volumes (or ranges) are all 0 has no average volume (or range),
// whatever residue the running sum keeps of the values that left it: the last
// value stands and the smoothers are not stepped.
class DemandIndex final : public Indicator {
public:
    static Expected<DemandIndex, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        double alpha = 2.0 / (static_cast<double>(period) + 1.0);
        if (!(alpha > 0.0 && alpha <= 1.0)) return IndicatorError::invalid_period("alpha must be in (0.0, 1.0]");
        return DemandIndex(period, alpha);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        push(volumes_, volume_sum_, c->volume);
        volume_run_.push(c->volume);
        std::optional<Candle> prev = prev_;
        prev_ = *c;
        if (!prev) return std::nullopt;
        double hi = c->high > prev->high ? c->high : prev->high;
        double lo = c->low < prev->low ? c->low : prev->low;
        push(ranges_, range_sum_, hi - lo);
        range_run_.push(hi - lo);
        if (!ranges_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        // Sums of volumes and ranges read below 0 (residues of values that left) are 0.
        const bool no_volume = volume_run_.covers(period_);
        const bool no_range = range_run_.covers(period_);
        double avg_volume = (volume_sum_ < 0.0 || no_volume ? 0.0 : volume_sum_) / n;
        double p = price_level(*c);
        double prev_p = price_level(*prev);
        double avg_range = (range_sum_ < 0.0 || no_range ? 0.0 : range_sum_) / n;
        if (avg_volume == 0.0 || p == 0.0 || prev_p == 0.0 || avg_range == 0.0) return last_;
        double change = (p - prev_p) / (p < prev_p ? p : prev_p);
        double vr = c->volume / avg_volume;
        double k = std::fabs(change) * (p * 3.0 / avg_range);
        if (!(k <= 88.0)) k = 88.0;  // the smaller of k and 88, a NaN k ignored
        double q = vr / std::exp(k);
        double buying = change > 0.0 ? vr : q;
        double selling = change > 0.0 ? q : vr;
        double b = buying_.step(buying);
        double s = selling_.step(selling);
        double di = 0.0;
        if (b > s) {
            di = (1.0 - s / b) * 100.0;
        } else if (b < s) {
            di = (1.0 - b / s) * -100.0;
        }
        last_ = di;
        return di;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    // Exponential smoother whose first finite input becomes its value; a non-finite
    // input is not taken in and is handed back as the result.
    struct Smoother {
        double alpha;
        double one_minus_alpha;
        double value = 0.0;
        bool seeded = false;
        double step(double x) {
            if (!std::isfinite(x)) return x;
            if (seeded) {
                value = std::fma(alpha, x, one_minus_alpha * value);
            } else {
                value = x;
                seeded = true;
            }
            return value;
        }
    };

    DemandIndex(std::size_t period, double alpha)
        : volumes_(period),
          ranges_(period),
          buying_{alpha, 1.0 - alpha},
          selling_{alpha, 1.0 - alpha},
          period_(period) {}

    static void push(core::Ring<double>& ring, double& sum, double x) {
        if (ring.full()) {
            sum = sum - ring.oldest();
            ring.pop_oldest();
        }
        ring.push(x);
        sum = sum + x;
    }
    static double price_level(const Candle& c) { return ((c.high + c.low) + (c.close + c.close)) * 0.25; }

    std::optional<Candle> prev_;
    core::Ring<double> volumes_;
    core::Ring<double> ranges_;
    Smoother buying_;
    Smoother selling_;
    std::size_t period_;
    double volume_sum_ = 0.0;
    double range_sum_ = 0.0;
    core::ZeroRun volume_run_;  // these two watch the rings' values only
    core::ZeroRun range_run_;
    double last_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DemandIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DemandIndex"));
    return box_kind<kinds::DemandIndex>("DemandIndex", kinds::DemandIndex::make(period));
}

}  // namespace ostrel::catalogue
