#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Stochastic %K of the last `k_period` candles with a simple-average %D. The window
// extremes come from two monotonic deques, so an update costs amortised constant
// time whatever the window length.
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
        while (!highs_.empty() && highs_.front().first < start) highs_.pop_front();
        while (!lows_.empty() && lows_.front().first < start) lows_.pop_front();
        while (!highs_.empty() && highs_.back().second <= c->high) highs_.pop_back();
        highs_.push_back({t, c->high});
        while (!lows_.empty() && lows_.back().second >= c->low) lows_.pop_back();
        lows_.push_back({t, c->low});
        if (t + 1 < k_period_) return std::nullopt;
        double hh = highs_.front().second;
        double ll = lows_.front().second;
        double span = hh - ll;
        double k = span == 0.0 ? 50.0 : ((c->close - ll) * 100.0) / span;
        last_k_ = k;
        auto d = d_.step(k);
        if (!d) return std::nullopt;
        outputs_.store({k, *d});
        return k;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return k_period_ + d_.period() - 1; }

private:
    // Fixed-capacity double-ended queue of (bar number, price).
    class BarDeque {
    public:
        explicit BarDeque(std::size_t cap) : buf_(cap) {}
        bool empty() const { return size_ == 0; }
        const std::pair<std::size_t, double>& front() const { return buf_[head_]; }
        const std::pair<std::size_t, double>& back() const { return buf_[wrap(head_ + size_ - 1)]; }
        void pop_front() {
            head_ = wrap(head_ + 1);
            --size_;
        }
        void pop_back() { --size_; }
        void push_back(std::pair<std::size_t, double> v) {
            buf_[wrap(head_ + size_)] = v;
            ++size_;
        }

    private:
        std::size_t wrap(std::size_t i) const { return i >= buf_.size() ? i - buf_.size() : i; }
        std::vector<std::pair<std::size_t, double>> buf_;
        std::size_t head_ = 0;
        std::size_t size_ = 0;
    };

    Stochastic(std::size_t k_period, core::Sma d)
        : k_period_(k_period), highs_(k_period), lows_(k_period), d_(std::move(d)), outputs_({"k", "d"}) {}

    std::size_t k_period_;
    std::size_t bar_ = 0;
    BarDeque highs_;  // highs decreasing from front to back
    BarDeque lows_;   // lows increasing from front to back
    std::optional<double> last_k_;
    core::Sma d_;
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
