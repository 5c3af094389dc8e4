#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// Random walk index of highs and lows: for every lookback n = k - 1 (k = 2..period)
// the move from n bars back over the mean of the newest n true ranges times sqrt(k);
// the largest over all lookbacks. Every lookback is summed afresh, oldest first, so
// an update costs O(period^2).
class Rwi final : public Indicator {
public:
    static Expected<Rwi, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("RWI requires period >= 2");
        return Rwi(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double tr = candles_.empty() ? c->high - c->low : core::true_range(c->high, c->low, candles_.newest().close);
        candles_.push(*c);
        if (candles_.size() >= 2) ranges_.push(tr);
        if (!candles_.full()) return std::nullopt;

        scratch_.reserve(period_);  // once, when the window first fills
        scratch_.clear();
        ranges_.for_each([&](double r) { scratch_.push_back(r); });
        const std::size_t len = scratch_.size();
        double rwi_high = 0.0, rwi_low = 0.0;
        for (std::size_t k = 2; k <= period_; ++k) {
            const std::size_t n = k - 1;
            double sum = 0.0;
            for (std::size_t i = len - n; i < len; ++i) sum = sum + scratch_[i];
            double den = (sum / static_cast<double>(n)) * std::sqrt(static_cast<double>(k));
            if (den == 0.0) continue;
            const Candle& back = candles_.back(n);
            double up = (c->high - back.low) / den;
            double down = (back.high - c->low) / den;
            if (up > rwi_high) rwi_high = up;
            if (down > rwi_low) rwi_low = down;
        }
        outputs_.store({rwi_high, rwi_low});
        return rwi_high;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit Rwi(std::size_t period)
        : candles_(period), ranges_(period - 1), period_(period), outputs_({"high", "low"}) {}

    core::Ring<Candle> candles_;
    core::Ring<double> ranges_;  // true ranges of the candles after the oldest held
    std::vector<double> scratch_;
    std::size_t period_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rwi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rwi"));
    return box_kind<kinds::Rwi>("Rwi", kinds::Rwi::make(period));
}

}  // namespace ostrel::catalogue
