#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/true_range.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Vortex indicator: window sums of the positive and negative vortex movements over
// the window sum of true ranges. The running sums are never re-summed.
class Vortex final : public Indicator {
public:
    static Expected<Vortex, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Vortex(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_) {
            prev_ = *c;
            return std::nullopt;
        }
        const Candle p = *prev_;
        Entry e{std::fabs(c->high - p.low), std::fabs(c->low - p.high), core::true_range(c->high, c->low, p.close)};
        prev_ = *c;
        if (ring_.full()) {
            const Entry& o = ring_.oldest();
            plus_sum_ = plus_sum_ - o.plus;
            minus_sum_ = minus_sum_ - o.minus;
            tr_sum_ = tr_sum_ - o.tr;
        }
        ring_.push(e);
        plus_sum_ = plus_sum_ + e.plus;
        minus_sum_ = minus_sum_ + e.minus;
        tr_sum_ = tr_sum_ + e.tr;
        if (!ring_.full()) return std::nullopt;
        double vi_plus = 0.0, vi_minus = 0.0;
        // Sums of non-negative terms read below 0 (residues of terms that left) are 0.
        const double tr = core::not_below_zero(tr_sum_);
        if (tr != 0.0) {
            vi_plus = core::not_below_zero(plus_sum_) / tr;
            vi_minus = core::not_below_zero(minus_sum_) / tr;
        }
        outputs_.store({vi_plus, vi_minus});
        return vi_plus;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    struct Entry {
        double plus;
        double minus;
        double tr;
    };

    explicit Vortex(std::size_t period) : ring_(period), period_(period), outputs_({"plus", "minus"}) {}

    std::optional<Candle> prev_;
    core::Ring<Entry> ring_;
    double plus_sum_ = 0.0;
    double minus_sum_ = 0.0;
    double tr_sum_ = 0.0;
    std::size_t period_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vortex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Vortex"));
    return box_kind<kinds::Vortex>("Vortex", kinds::Vortex::make(period));
}

}  // namespace ostrel::catalogue
