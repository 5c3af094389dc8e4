#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/log_return_step.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// True strength index: the double-smoothed one-bar change over the double-smoothed
// size of the change, times 100.
class Tsi final : public Indicator {
public:
    static Expected<Tsi, IndicatorError> make(std::size_t long_period, std::size_t short_period) {
        if (long_period == 0 || short_period == 0) return IndicatorError::zero_period();
        if (long_period > MAX_PERIOD || short_period > MAX_PERIOD) return IndicatorError::too_long();
        return Tsi(long_period, short_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto prev = prev_close_.step(close);
        if (!prev) return std::nullopt;
        const double m = close - *prev;
        if (!std::isfinite(m)) return std::nullopt;
        std::optional<double> numerator;
        if (const auto ml = mom_long_.step(m); ml && std::isfinite(*ml)) {
            if (const auto ms = mom_short_.step(*ml)) numerator = 100.0 * *ms;
        }
        const auto al = abs_long_.step(std::fabs(m));
        if (!al || !std::isfinite(*al)) return std::nullopt;
        const auto as = abs_short_.step(*al);
        if (!as) return std::nullopt;
        if (!numerator) return std::nullopt;
        // No move exceeds its own size and both are smoothed by the same averages
        // from the same bars, so the exact ratio lies within -100..100.
        const double result = *as == 0.0 ? 0.0 : core::within(*numerator / *as, -100.0, 100.0);
        last_value_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return mom_long_.period() + mom_short_.period(); }

private:
    Tsi(std::size_t long_period, std::size_t short_period)
        : mom_long_(*core::Ema::make(long_period)),
          mom_short_(*core::Ema::make(short_period)),
          abs_long_(*core::Ema::make(long_period)),
          abs_short_(*core::Ema::make(short_period)) {}

    core::PreviousClose prev_close_;
    std::optional<double> last_value_;
    core::Ema mom_long_;
    core::Ema mom_short_;
    core::Ema abs_long_;
    core::Ema abs_short_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tsi(std::span<const double> p) {
    OSTREL_TRY(long_period, param_usize(p, 0, "Tsi"));
    OSTREL_TRY(short_period, param_usize(p, 1, "Tsi"));
    return box_kind<kinds::Tsi>("Tsi", kinds::Tsi::make(long_period, short_period));
}

}  // namespace ostrel::catalogue
