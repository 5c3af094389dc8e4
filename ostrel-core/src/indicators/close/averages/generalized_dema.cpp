#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Generalised double exponential average: e1 (v + 1) - e2 v.
class GeneralizedDema final : public Indicator {
public:
    static Expected<GeneralizedDema, IndicatorError> make(std::size_t period, double volume_factor) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(volume_factor) || volume_factor < 0.0 || volume_factor > 1.0)
            return IndicatorError::invalid_period("GD volume factor must be a finite value in [0.0, 1.0]");
        return GeneralizedDema(period, volume_factor);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto e1 = first_.step(f.candle.close);
        if (!e1 || !std::isfinite(*e1)) return std::nullopt;
        auto e2 = second_.step(*e1);
        if (!e2) return std::nullopt;
        return *e1 * (v_ + 1.0) - *e2 * v_;
    }
    std::size_t warmup_period() const override { return 2 * period_ - 1; }

private:
    GeneralizedDema(std::size_t period, double v)
        : period_(period), v_(v), first_(*core::Ema::make(period)), second_(*core::Ema::make(period)) {}
    std::size_t period_;
    double v_;
    core::Ema first_;
    core::Ema second_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GeneralizedDema(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GeneralizedDema"));
    OSTREL_TRY(volume_factor, param_f64(p, 1, "GeneralizedDema"));
    return box_kind<kinds::GeneralizedDema>("GeneralizedDema", kinds::GeneralizedDema::make(period, volume_factor));
}

}  // namespace ostrel::catalogue
