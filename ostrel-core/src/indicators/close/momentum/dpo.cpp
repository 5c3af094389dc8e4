#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Detrended price oscillator: the close `period`/2 + 1 bars back minus the mean of
// the newest `period` closes. The running sum is recomputed every `period` closes.
class Dpo final : public Indicator {
public:
    static Expected<Dpo, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Dpo(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        // The close that leaves the newest `period` once this one is in; the ring
        // (capacity W >= period) still holds it before the push.
        const bool leaves = closes_.size() >= period_;
        const double leaving = leaves ? closes_.back(period_ - 1) : 0.0;
        closes_.push(close);
        sum_ = sum_ + close;
        if (leaves) sum_ = sum_ - leaving;
        if (++updates_since_resum_ == period_) {
            double s = -0.0;
            const std::size_t from = closes_.size() - period_;
            for (std::size_t i = from; i < closes_.size(); ++i) s = s + closes_[i];
            sum_ = s;
            updates_since_resum_ = 0;
        }
        if (!closes_.full()) return std::nullopt;
        return closes_.back(shift_) - sum_ / static_cast<double>(period_);
    }
    std::size_t warmup_period() const override { return closes_.capacity(); }

private:
    explicit Dpo(std::size_t period)
        : closes_(std::max(period / 2 + 2, period)), period_(period), shift_(period / 2 + 1) {}

    core::Ring<double> closes_;
    std::size_t period_;
    std::size_t shift_;
    double sum_ = 0.0;
    std::size_t updates_since_resum_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Dpo(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Dpo"));
    return box_kind<kinds::Dpo>("Dpo", kinds::Dpo::make(period));
}

}  // namespace ostrel::catalogue
