#include <array>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Six chained exponential averages combined with coefficients of the volume factor.
class T3 final : public Indicator {
public:
    static Expected<T3, IndicatorError> make(std::size_t period, double volume_factor) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(volume_factor) || volume_factor < 0.0 || volume_factor > 1.0)
            return IndicatorError::invalid_period("T3 volume factor must be a finite value in [0.0, 1.0]");
        return T3(period, volume_factor);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        std::array<double, 6> e{};
        double x = f.candle.close;
        for (std::size_t i = 0; i < 6; ++i) {
            auto r = stages_[i].step(x);
            if (!r) return std::nullopt;
            if (i < 5 && !std::isfinite(*r)) return std::nullopt;
            e[i] = x = *r;
        }
        double v = ((e[5] * c1_ + e[4] * c2_) + e[3] * c3_) + e[2] * c4_;
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return 6 * period_ - 5; }

private:
    T3(std::size_t period, double a)
        : stages_{*core::Ema::make(period), *core::Ema::make(period), *core::Ema::make(period),
                  *core::Ema::make(period), *core::Ema::make(period), *core::Ema::make(period)},
          period_(period) {
        double a2 = a * a;
        double a3 = a * a2;
        c1_ = -a3;
        c2_ = a2 * 3.0 + a3 * 3.0;
        c3_ = (a2 * -6.0 - a * 3.0) - a3 * 3.0;
        c4_ = a2 * 3.0 + ((1.0 + a * 3.0) + a3);
    }

    std::optional<double> last_;
    std::array<core::Ema, 6> stages_;
    std::size_t period_;
    double c1_, c2_, c3_, c4_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_T3(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "T3"));
    OSTREL_TRY(volume_factor, param_f64(p, 1, "T3"));
    return box_kind<kinds::T3>("T3", kinds::T3::make(period, volume_factor));
}

}  // namespace ostrel::catalogue
