#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/rsi.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Derivative oscillator: a double-smoothed RSI minus its simple signal average.
class DerivativeOscillator final : public Indicator {
public:
    static Expected<DerivativeOscillator, IndicatorError> make(std::size_t rsi_period, std::size_t smooth_period1,
                                                               std::size_t smooth_period2,
                                                               std::size_t signal_period) {
        if (rsi_period == 0 || smooth_period1 == 0 || smooth_period2 == 0 || signal_period == 0)
            return IndicatorError::zero_period();
        OSTREL_TRY(rsi, core::Rsi::make(rsi_period));
        if (smooth_period1 > MAX_PERIOD || smooth_period2 > MAX_PERIOD || signal_period > MAX_PERIOD)
            return IndicatorError::too_long();
        return DerivativeOscillator(std::move(rsi), *core::Ema::make(smooth_period1),
                                    *core::Ema::make(smooth_period2), *core::Sma::make(signal_period));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const auto r = rsi_.step(f.candle.close);
        if (!r || !std::isfinite(*r)) return std::nullopt;
        const auto s1 = smooth1_.step(*r);
        if (!s1 || !std::isfinite(*s1)) return std::nullopt;
        const auto s2 = smooth2_.step(*s1);
        if (!s2) return std::nullopt;
        const auto m = signal_.step(*s2);
        if (!m) return std::nullopt;
        return *s2 - *m;
    }
    std::size_t warmup_period() const override { return warmup_; }

private:
    DerivativeOscillator(core::Rsi rsi, core::Ema smooth1, core::Ema smooth2, core::Sma signal)
        : rsi_(std::move(rsi)),
          smooth1_(std::move(smooth1)),
          smooth2_(std::move(smooth2)),
          signal_(std::move(signal)),
          warmup_(rsi_.period() + smooth1_.period() + smooth2_.period() + signal_.period() - 2) {}

    core::Rsi rsi_;
    core::Ema smooth1_;
    core::Ema smooth2_;
    core::Sma signal_;
    std::size_t warmup_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DerivativeOscillator(std::span<const double> p) {
    OSTREL_TRY(rsi_period, param_usize(p, 0, "DerivativeOscillator"));
    OSTREL_TRY(smooth_period1, param_usize(p, 1, "DerivativeOscillator"));
    OSTREL_TRY(smooth_period2, param_usize(p, 2, "DerivativeOscillator"));
    OSTREL_TRY(signal_period, param_usize(p, 3, "DerivativeOscillator"));
    return box_kind<kinds::DerivativeOscillator>(
        "DerivativeOscillator",
        kinds::DerivativeOscillator::make(rsi_period, smooth_period1, smooth_period2, signal_period));
}

}  // namespace ostrel::catalogue
