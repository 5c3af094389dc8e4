#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Slope of the least-squares line through the window's cumulative return curve over
// the slope's standard error.
class KRatio final : public Indicator {
public:
    static Expected<KRatio, IndicatorError> make(std::size_t period) {
        if (period < 3) return IndicatorError::invalid_period("k-ratio needs period >= 3");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return KRatio(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (std::isfinite(x)) run_.push(x);
        if (!core::push_finite(window_, x)) return std::nullopt;
        cumulative_.reserve(period_);  // once, when the window first fills
        // Equal returns after the oldest make a straight cumulative line (its steps are
        // the returns from the second on): no error about the fit, so 0, not a slope
        // over the rounding residue of its errors.
        if (run_.covers(period_ - 1)) return 0.0;
        const double n = static_cast<double>(period_);
        // Scratch list of the cumulative sums, kept allocated between updates.
        cumulative_.clear();
        double c = 0.0;
        window_.for_each([&](double v) {
            c = c + v;
            cumulative_.push_back(c);
        });
        const double x_mean = (n + 1.0) / 2.0;
        double c_sum = 0.0;
        for (double v : cumulative_) c_sum = c_sum + v;
        const double c_mean = c_sum / n;
        double sxx = 0.0, sxy = 0.0;
        for (std::size_t i = 0; i < period_; ++i) {
            double dx = static_cast<double>(i + 1) - x_mean;
            sxx = sxx + dx * dx;
            sxy = sxy + dx * (cumulative_[i] - c_mean);
        }
        const double b = sxy / sxx;
        const double a = c_mean - x_mean * b;
        double sse = 0.0;
        for (std::size_t i = 0; i < period_; ++i) {
            double e = cumulative_[i] - (a + b * static_cast<double>(i + 1));
            sse = sse + e * e;
        }
        if (!(sse > 0.0)) return 0.0;
        return b / std::sqrt((sse / (n - 2.0)) / sxx);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit KRatio(std::size_t period) : window_(period), period_(period) {}
    core::Ring<double> window_;
    core::EqualRun run_;
    std::size_t period_;
    std::vector<double> cumulative_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "KRatio"));
    return box_kind<kinds::KRatio>("KRatio", kinds::KRatio::make(period));
}

}  // namespace ostrel::catalogue
