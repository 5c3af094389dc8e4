#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// How much of the window's high-low span the summed true ranges cover, on a log
// scale: log10(sum TR / (HH - LL)) * 100 / log10(period); 100 for a flat window.
class ChoppinessIndex final : public Indicator {
public:
    static Expected<ChoppinessIndex, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("choppiness index needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return ChoppinessIndex(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double tr = core::true_range(c->high, c->low, prev_close_);
        prev_close_ = c->close;
        if (trs_.full()) {
            tr_sum_ = tr_sum_ - trs_.oldest();
            trs_.pop_oldest();
            highs_.pop_oldest();
            lows_.pop_oldest();
        }
        // The running sum is never re-summed.
        tr_sum_ = tr + tr_sum_;
        trs_.push(tr);
        highs_.push(c->high);
        lows_.push(c->low);
        if (!trs_.full()) return std::nullopt;
        double hh = highs_[0], ll = lows_[0];
        highs_.for_each([&](double h) {
            if (h > hh) hh = h;
        });
        lows_.for_each([&](double l) {
            if (l < ll) ll = l;
        });
        double span = hh - ll;
        if (span == 0.0) return 100.0;
        // The true ranges of the window join up and cover the span, so their sum is
        // at least the span: a sum read below it (down to below 0) is the residue of
        // ranges that have left, and the index does not fall below 0.
        double ratio = tr_sum_ / span;
        if (ratio < 1.0) ratio = 1.0;
        return (std::log10(ratio) * 100.0) / log_period_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit ChoppinessIndex(std::size_t period)
        : trs_(period), highs_(period), lows_(period), period_(period),
          log_period_(std::log10(static_cast<double>(period))) {}

    std::optional<double> prev_close_;
    core::Ring<double> trs_;
    core::Ring<double> highs_;
    core::Ring<double> lows_;
    std::size_t period_;
    double log_period_;
    double tr_sum_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChoppinessIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ChoppinessIndex"));
    return box_kind<kinds::ChoppinessIndex>("ChoppinessIndex", kinds::ChoppinessIndex::make(period));
}

}  // namespace ostrel::catalogue
