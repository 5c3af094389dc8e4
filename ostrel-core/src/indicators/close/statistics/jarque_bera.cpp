#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Jarque-Bera normality statistic of the last `period` closes, recomputed from the
// window on every full update: (n / 6) (skew^2 + excess^2 / 4).
class JarqueBera final : public Indicator {
public:
    static Expected<JarqueBera, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period < 4) return IndicatorError::invalid_period("Jarque-Bera needs period >= 4");
        return JarqueBera(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (std::isfinite(x)) run_.push(x);
        if (!core::push_finite(window_, x)) return std::nullopt;
        // A window of equal closes has no spread: 0, not the ratios of the rounding
        // residues left by a mean that is not exactly the close.
        if (run_.covers(period_)) {
            last_ = 0.0;
            return 0.0;
        }
        const double n = static_cast<double>(period_);
        double sum = 0.0;
        window_.for_each([&](double y) { sum = sum + y; });
        const double mean = sum / n;
        double s2 = 0.0, s3 = 0.0, s4 = 0.0;
        window_.for_each([&](double y) {
            double d = y - mean;
            double d2 = d * d, d3 = d2 * d, d4 = d3 * d;
            s2 = s2 + d2;
            s3 = s3 + d3;
            s4 = s4 + d4;
        });
        double m2 = s2 / n, m3 = s3 / n, m4 = s4 / n;
        double value = 0.0;
        if (m2 != 0.0) {
            double skew = m3 / (m2 * std::sqrt(m2));
            double excess = m4 / (m2 * m2) - 3.0;
            value = (n / 6.0) * (skew * skew + 0.25 * (excess * excess));
        }
        last_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit JarqueBera(std::size_t period) : window_(period), period_(period) {}
    std::optional<double> last_;
    core::Ring<double> window_;
    core::EqualRun run_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_JarqueBera(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "JarqueBera"));
    return box_kind<kinds::JarqueBera>("JarqueBera", kinds::JarqueBera::make(period));
}

}  // namespace ostrel::catalogue
