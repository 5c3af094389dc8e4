#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Relative vigor index: the 1-2-2-1 weighted body over the 1-2-2-1 weighted range,
// each summed over the window; the previous value stands while the range sum is
// not positive. A window built from candles without range (high == low) has a range
// sum of exactly 0, whatever residue the running sum keeps, and also keeps the
// previous value.
class Rvi final : public Indicator {
public:
    static Expected<Rvi, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Rvi(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        recent_.push({c->close - c->open, c->high - c->low});
        ranges_.push(c->high - c->low);
        if (!recent_.full()) return std::nullopt;
        const auto& p0 = recent_[0];
        const auto& p1 = recent_[1];
        const auto& p2 = recent_[2];
        const auto& p3 = recent_[3];
        double num = (p0.first + ((p1.first + p1.first) + ((p2.first + p2.first) + p3.first))) / 6.0;
        double den = (p0.second + ((p1.second + p1.second) + ((p2.second + p2.second) + p3.second))) / 6.0;
        if (window_.full()) {
            auto [on, od] = window_.oldest();
            window_.pop_oldest();
            num_sum_ = num_sum_ - on;
            den_sum_ = den_sum_ - od;
        }
        window_.push({num, den});
        num_sum_ = num_sum_ + num;
        den_sum_ = den_sum_ + den;
        if (!window_.full()) return std::nullopt;
        if (den_sum_ <= 0.0) return last_;
        if (ranges_.covers(period_ + 3)) return last_;
        // No body exceeds its range, so the exact ratio lies within -1..1; the residues
        // of the never re-summed sums can take the quotient outside.
        const double v = num_sum_ / den_sum_;
        const double result = v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return period_ + 3; }

private:
    explicit Rvi(std::size_t period) : recent_(4), window_(period), period_(period) {}

    std::optional<double> last_;
    core::Ring<std::pair<double, double>> recent_;  // (close - open, high - low)
    core::Ring<std::pair<double, double>> window_;  // (numerator, denominator)
    std::size_t period_;
    double num_sum_ = 0.0;
    double den_sum_ = 0.0;
    core::ZeroRun ranges_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rvi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rvi"));
    return box_kind<kinds::Rvi>("Rvi", kinds::Rvi::make(period));
}

}  // namespace ostrel::catalogue
