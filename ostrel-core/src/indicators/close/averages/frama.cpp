#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Fractal adaptive average: the fractal dimension of the window (from the ranges of
// its two halves and of the whole) sets the smoothing factor.
class Frama final : public Indicator {
public:
    static Expected<Frama, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("FRAMA period must be at least 2");
        if (period % 2 != 0) return IndicatorError::invalid_period("FRAMA period must be even");
        return Frama(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!core::push_finite(window_, close)) return std::nullopt;
        double old_hi = window_[0], old_lo = old_hi;
        for (std::size_t i = 1; i < half_; ++i) {
            double v = window_[i];
            if (v > old_hi) old_hi = v;
            if (v < old_lo) old_lo = v;
        }
        double new_hi = window_[half_], new_lo = new_hi;
        for (std::size_t i = half_ + 1; i < period_; ++i) {
            double v = window_[i];
            if (v > new_hi) new_hi = v;
            if (v < new_lo) new_lo = v;
        }
        double hi = old_hi > new_hi ? old_hi : new_hi;
        double lo = old_lo < new_lo ? old_lo : new_lo;
        const double h = static_cast<double>(half_);
        double r = (hi - lo) / static_cast<double>(period_);
        double rn = (new_hi - new_lo) / h;
        double ro = (old_hi - old_lo) / h;
        double a = 0.01;
        if (r > 0.0 && rn > 0.0 && ro > 0.0) {
            a = std::exp(((std::log(rn + ro) - std::log(r)) / 0.6931471805599453 + -1.0) * -4.6);
            if (a < 0.01) a = 0.01;
            if (a > 1.0) a = 1.0;
        }
        double prev = value_ ? *value_ : close;
        const double result = close * a + (1.0 - a) * prev;
        value_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit Frama(std::size_t period) : window_(period), period_(period), half_(period / 2) {}

    std::optional<double> value_;
    core::Ring<double> window_;
    std::size_t period_;
    std::size_t half_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Frama(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Frama"));
    return box_kind<kinds::Frama>("Frama", kinds::Frama::make(period));
}

}  // namespace ostrel::catalogue
