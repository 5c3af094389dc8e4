#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// DeMark range expansion index: the sum of the two-bar moves of the high and the low
// (counted only on bars that overlap the trading five to eight bars back) over the
// sum of their magnitudes, in percent, over `period` bars; clamped to [-100, 100].
class TdRei final : public Indicator {
public:
    static Expected<TdRei, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TdRei(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (earlier_.size() < kHistory) {
            earlier_.push(*c);
            return std::nullopt;
        }
        const double h = c->high;
        const double l = c->low;
        const Candle& x2 = back(2);
        const Candle& x5 = back(5);
        const Candle& x6 = back(6);
        const Candle& x7 = back(7);
        const Candle& x8 = back(8);
        const bool a = (h >= x5.low || h >= x6.low) && (l <= x5.high || l <= x6.high);
        const bool b = (x2.high >= x7.close || x2.high >= x8.close) && (x2.low <= x7.close || x2.low <= x8.close);
        const double num = (a || b) ? (h - x2.high) + (l - x2.low) : 0.0;
        const double den = std::fabs(h - x2.high) + std::fabs(l - x2.low);
        numerators_.push(num);
        denominators_.push(den);
        earlier_.push(*c);  // drops the oldest of the eight
        if (!numerators_.full()) return std::nullopt;
        const double d = sum(denominators_);
        if (d == 0.0) return 0.0;
        const double v = (sum(numerators_) * 100.0) / d;
        if (v > 100.0) return 100.0;
        if (v < -100.0) return -100.0;
        return v;
    }
    std::size_t warmup_period() const override { return period_ + kHistory; }

private:
    static constexpr std::size_t kHistory = 8;  // earlier candles the conditions read

    explicit TdRei(std::size_t period)
        : earlier_(kHistory), numerators_(period), denominators_(period), period_(period) {}

    // The candle k bars before the current one (1 <= k <= 8).
    const Candle& back(std::size_t k) const { return earlier_.back(k - 1); }

    static double sum(const core::Ring<double>& r) {
        double s = 0.0;
        r.for_each([&s](double x) { s = s + x; });
        return s;
    }

    core::Ring<Candle> earlier_;
    core::Ring<double> numerators_;
    core::Ring<double> denominators_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdRei(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TdRei"));
    return box_kind<kinds::TdRei>("TdRei", kinds::TdRei::make(period));
}

}  // namespace ostrel::catalogue
