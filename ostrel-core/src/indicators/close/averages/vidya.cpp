#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cmo.hpp"

namespace ostrel::kinds {

// Variable index dynamic average: an exponential step scaled by |CMO| / 100.
class Vidya final : public Indicator {
public:
    static Expected<Vidya, IndicatorError> make(std::size_t period, std::size_t cmo_period) {
        if (period == 0 || cmo_period == 0) return IndicatorError::zero_period();
        if (cmo_period > MAX_PERIOD) return IndicatorError::too_long();
        return Vidya(period, cmo_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        auto c = cmo_.step(close);
        if (!c) return std::nullopt;
        double k = (std::fabs(*c) / 100.0) * alpha_;
        double prev = value_ ? *value_ : close;
        const double result = close * k + (1.0 - k) * prev;
        value_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return cmo_period_ + 1; }

private:
    Vidya(std::size_t period, std::size_t cmo_period)
        : cmo_(cmo_period),
          cmo_period_(cmo_period),
          alpha_(2.0 / (static_cast<double>(period) + 1.0)) {}

    core::Cmo cmo_;
    std::optional<double> value_;
    std::size_t cmo_period_;
    double alpha_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vidya(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Vidya"));
    OSTREL_TRY(cmo_period, param_usize(p, 1, "Vidya"));
    return box_kind<kinds::Vidya>("Vidya", kinds::Vidya::make(period, cmo_period));
}

}  // namespace ostrel::catalogue
