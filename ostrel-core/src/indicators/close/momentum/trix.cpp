#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/equal_run.hpp"

namespace ostrel::kinds {

// One-bar rate of change, in percent, of a triple exponential average. On a constant
// series it is exactly 0, though an average of equal values can land a unit in the
// last place off them; the averages themselves keep their arithmetic.
class Trix final : public Indicator {
public:
    static Expected<Trix, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Trix(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        closes_.push(close);
        const auto e1 = ema1_.step(close);
        if (!e1 || !std::isfinite(*e1)) return std::nullopt;
        const auto e2 = ema2_.step(*e1);
        if (!e2 || !std::isfinite(*e2)) return std::nullopt;
        const auto e3 = ema3_.step(*e2);
        if (!e3) return std::nullopt;
        if (!prev_triple_) {
            prev_triple_ = *e3;
            return std::nullopt;
        }
        const double prev = *prev_triple_;
        const double value = prev == 0.0 || closes_.constant_from_start() ? 0.0 : (*e3 - prev) * 100.0 / prev;
        prev_triple_ = *e3;
        return value;
    }
    std::size_t warmup_period() const override { return 3 * ema1_.period() - 1; }

private:
    explicit Trix(std::size_t period)
        : ema1_(*core::Ema::make(period)), ema2_(*core::Ema::make(period)), ema3_(*core::Ema::make(period)) {}

    std::optional<double> prev_triple_;
    core::Ema ema1_;
    core::Ema ema2_;
    core::Ema ema3_;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Trix(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Trix"));
    return box_kind<kinds::Trix>("Trix", kinds::Trix::make(period));
}

}  // namespace ostrel::catalogue
