#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// Two-pole band-pass of the close around `period`, `bandwidth` wide (a fraction).
class BandpassFilter final : public Indicator {
public:
    static Expected<BandpassFilter, IndicatorError> make(std::size_t period, double bandwidth) {
        if (auto e = check_period(period)) return *e;
        if (!(std::isfinite(bandwidth) && bandwidth > 0.0 && bandwidth < 1.0))
            return IndicatorError::invalid_parameter("bandpass bandwidth must be in (0, 1)");
        if (period < 3) return IndicatorError::invalid_period("bandpass period must be >= 3 (a pole on the unit circle)");
        BandpassFilter f(period, bandwidth);
        if (!core::bandpass_stable(f.beta_, f.alpha_)) {
            // cos(4 pi bandwidth / period) rounded to 1 makes alpha 1; any other
            // failure is an angle at or past pi/2, a bandwidth above period / 8.
            if (f.alpha_ == 1.0)
                return IndicatorError::invalid_parameter(
                    "bandpass bandwidth too small for the period (cos(4 pi bandwidth / period) rounds to 1: a pole on "
                    "the unit circle)");
            return IndicatorError::invalid_parameter(
                "bandpass bandwidth must be at most period / 8 (a pole on or outside the unit circle)");
        }
        return f;
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        double bp = 0.0;
        if (x2_) bp = 0.5 * (1.0 - alpha_) * (x - *x2_) + beta_ * (1.0 + alpha_) * bp1_ - alpha_ * bp2_;
        x2_ = x1_;
        x1_ = x;
        bp2_ = bp1_;
        bp1_ = bp;
        return bp;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    BandpassFilter(std::size_t period, double bandwidth) {
        const double n = static_cast<double>(period);
        beta_ = std::cos(6.283185307179586 / n);  // 2 pi / period
        const double gamma = 1.0 / std::cos(12.566370614359172 * bandwidth / n);  // 4 pi
        alpha_ = gamma - std::sqrt(gamma * gamma - 1.0);
    }

    double alpha_ = 0.0;
    double beta_ = 0.0;
    std::optional<double> x1_, x2_;
    double bp1_ = 0.0, bp2_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BandpassFilter(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BandpassFilter"));
    OSTREL_TRY(bandwidth, param_f64(p, 1, "BandpassFilter"));
    return box_kind<kinds::BandpassFilter>("BandpassFilter", kinds::BandpassFilter::make(period, bandwidth));
}

}  // namespace ostrel::catalogue
