#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/seeded_ema.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// WaveTrend: a channel index of the typical price, smoothed (wt1), with a simple
// average of it as the second line (wt2).
class WaveTrend final : public Indicator {
public:
    static Expected<WaveTrend, IndicatorError> make(std::size_t channel, std::size_t average, std::size_t signal) {
        if (channel == 0 || average == 0 || signal == 0) return IndicatorError::zero_period();
        if (channel > MAX_PERIOD || average > MAX_PERIOD || signal > MAX_PERIOD) return IndicatorError::too_long();
        return WaveTrend(channel, average, signal);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double ap = (c->high + c->low + c->close) / 3.0;
        if (!std::isfinite(ap)) return std::nullopt;
        auto esa = esa_.step_fused(ap);
        if (!esa) return std::nullopt;
        double dev = ap - *esa;
        if (!std::isfinite(dev)) return std::nullopt;
        auto d = d_.step_fused(std::fabs(dev));
        if (!d) return std::nullopt;
        // Deviations within a few ulps of the average's magnitude count as none.
        double mag = std::fabs(*esa);
        if (mag < 1.0) mag = 1.0;
        double tol = mag * 16.0 * 2.220446049250313e-16;
        double ci = *d <= tol ? 0.0 : dev / (0.015 * *d);
        if (!std::isfinite(ci)) return std::nullopt;
        auto wt1 = tci_.step_fused(ci);
        if (!wt1) return std::nullopt;
        auto wt2 = signal_.step(*wt1);
        if (!wt2) return std::nullopt;
        outputs_.store({*wt1, *wt2});
        return *wt1;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        return 2 * esa_.period() + tci_.period() + signal_.period() - 3;
    }

private:
    WaveTrend(std::size_t channel, std::size_t average, std::size_t signal)
        : esa_(*core::SeededEma::make(channel)),
          d_(*core::SeededEma::make(channel)),
          tci_(*core::SeededEma::make(average)),
          signal_(*core::Sma::make(signal)),
          outputs_({"wt1", "wt2"}) {}

    core::SeededEma esa_;
    core::SeededEma d_;
    core::SeededEma tci_;
    core::Sma signal_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WaveTrend(std::span<const double> p) {
    OSTREL_TRY(channel, param_usize(p, 0, "WaveTrend"));
    OSTREL_TRY(average, param_usize(p, 1, "WaveTrend"));
    OSTREL_TRY(signal, param_usize(p, 2, "WaveTrend"));
    return box_kind<kinds::WaveTrend>("WaveTrend", kinds::WaveTrend::make(channel, average, signal));
}

}  // namespace ostrel::catalogue
