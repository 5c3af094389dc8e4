#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Two-stage adaptive filter with a phase-weighted detrend and a power-raised factor.
class Jma final : public Indicator {
public:
    static Expected<Jma, IndicatorError> make(std::size_t period, double phase, std::uint32_t power) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(phase)) return IndicatorError::invalid_period("JMA phase must be a finite value");
        if (power < 1 || power > 4) return IndicatorError::invalid_period("JMA power must be in 1..=4");
        return Jma(period, phase, power);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!value_) {
            e0_ = close;
            value_ = close;
            return close;
        }
        const double b = beta_, a = power_alpha_, r = phase_ratio_, v = *value_;
        e0_ = close * (1.0 - a) + a * e0_;
        det0_ = (close - e0_) * (1.0 - b) + b * det0_;
        det1_ = (a * a) * det1_ + (1.0 - a) * ((1.0 - a) * ((e0_ + r * det0_) - v));
        const double result = v + det1_;
        value_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    Jma(std::size_t period, double phase, std::uint32_t power) {
        double l = (static_cast<double>(period) + -1.0) * 0.45;
        beta_ = l / (l + 2.0);
        const double b = beta_;
        switch (power) {
            case 1: power_alpha_ = b; break;
            case 2: power_alpha_ = b * b; break;
            case 3: power_alpha_ = b * (b * b); break;
            default: power_alpha_ = (b * b) * (b * b); break;
        }
        double pr = phase / 100.0 + 1.5;
        if (pr < 0.5) pr = 0.5;
        if (pr > 2.5) pr = 2.5;
        phase_ratio_ = pr;
    }

    std::optional<double> value_;
    double beta_ = 0.0;
    double power_alpha_ = 0.0;
    double phase_ratio_ = 0.0;
    double e0_ = 0.0;
    double det0_ = 0.0;
    double det1_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Jma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Jma"));
    OSTREL_TRY(phase, param_f64(p, 1, "Jma"));
    OSTREL_TRY(power, param_u32(p, 2, "Jma"));
    return box_kind<kinds::Jma>("Jma", kinds::Jma::make(period, phase, power));
}

}  // namespace ostrel::catalogue
