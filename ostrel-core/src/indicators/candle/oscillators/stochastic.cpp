#include <cmath>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Stochastic %K of the last `k_period` candles with a simple-average %D. The window
// extremes come from two monotonic deques, so an update costs amortised constant
// time whatever the window length. %K is never below 0, so %D, a running sum of
// %K values, is read not below 0, and exactly 0 over a window of %K values of 0.
class Stochastic final : public Indicator {
public:
    static Expected<Stochastic, IndicatorError> make(std::size_t k_period, std::size_t d_period) {
        if (k_period == 0 || d_period == 0) return IndicatorError::zero_period();
        if (d_period > MAX_PERIOD) return IndicatorError::too_long();
        // Bounded like every other window, so that a huge length is refused rather
        // than wrapping the warm-up or exhausting memory.
        if (k_period > MAX_PERIOD) return IndicatorError::too_long();
        return Stochastic(k_period, *core::Sma::make(d_period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const std::size_t t = bar_++;
        const std::size_t start = t < k_period_ - 1 ? 0 : t - (k_period_ - 1);
        while (!highs_.empty() && highs_.oldest().first < start) highs_.pop_oldest();
        while (!lows_.empty() && lows_.oldest().first < start) lows_.pop_oldest();
        while (!highs_.empty() && highs_.newest().second <= c->high) highs_.pop_newest();
        highs_.push({t, c->high});
        while (!lows_.empty() && lows_.newest().second >= c->low) lows_.pop_newest();
        lows_.push({t, c->low});
        if (t + 1 < k_period_) return std::nullopt;
        double hh = highs_.oldest().second;
        double ll = lows_.oldest().second;
        double span = hh - ll;
        double k = span == 0.0 ? 50.0 : ((c->close - ll) * 100.0) / span;
        last_k_ = k;
        auto d = d_.step(k);
        if (std::isfinite(k)) ks_.push(k);  // the values the average takes in
        if (!d) return std::nullopt;
        // The close lies within the window's range, so %K is at most 100 and so is
        // the average of the %K values; a close at the highest high can read a
        // rounding above, and the average's running sum a residue above.
        const double k_read = core::not_above(k, 100.0);
        outputs_.store({k_read, ks_.covers(d_.period()) ? 0.0 : core::within(*d, 0.0, 100.0)});
        return k_read;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return k_period_ + d_.period() - 1; }

private:
    // Double-ended queue of (bar number, price): never more than k_period entries,
    // storage growing with them.
    using BarDeque = core::Ring<std::pair<std::size_t, double>>;

    Stochastic(std::size_t k_period, core::Sma d)
        : k_period_(k_period), highs_(k_period), lows_(k_period), d_(std::move(d)), outputs_({"k", "d"}) {}

    std::size_t k_period_;
    std::size_t bar_ = 0;
    BarDeque highs_;  // highs decreasing from front to back
    BarDeque lows_;   // lows increasing from front to back
    std::optional<double> last_k_;
    core::Sma d_;
    core::ZeroRun ks_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Stochastic(std::span<const double> p) {
    OSTREL_TRY(k_period, param_usize(p, 0, "Stochastic"));
    OSTREL_TRY(d_period, param_usize(p, 1, "Stochastic"));
    return box_kind<kinds::Stochastic>("Stochastic", kinds::Stochastic::make(k_period, d_period));
}

}  // namespace ostrel::catalogue
