#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Chaikin volatility: percent change of the exponential average of the high-low
// range over `roc_period` updates; 0 when the earlier average is exactly 0.
class ChaikinVolatility final : public Indicator {
public:
    static Expected<ChaikinVolatility, IndicatorError> make(std::size_t ema_period, std::size_t roc_period) {
        OSTREL_TRY(ema, core::Ema::make(ema_period));
        if (auto e = check_period(roc_period)) return *e;
        return ChaikinVolatility(std::move(ema), roc_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double r = c->high - c->low;
        if (!std::isfinite(r)) return std::nullopt;
        auto avg = ema_.step(r);
        if (!avg || !std::isfinite(*avg)) return std::nullopt;
        averages_.push(*avg);
        if (!averages_.full()) return std::nullopt;
        double oldest = averages_.oldest();
        if (oldest == 0.0) return 0.0;
        return ((*avg - oldest) / oldest) * 100.0;
    }
    std::size_t warmup_period() const override { return ema_.period() + roc_period_; }

private:
    ChaikinVolatility(core::Ema ema, std::size_t roc_period)
        : ema_(std::move(ema)), averages_(roc_period + 1), roc_period_(roc_period) {}

    core::Ema ema_;
    core::Ring<double> averages_;  // the average now and `roc_period` updates back
    std::size_t roc_period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChaikinVolatility(std::span<const double> p) {
    OSTREL_TRY(ema_period, param_usize(p, 0, "ChaikinVolatility"));
    OSTREL_TRY(roc_period, param_usize(p, 1, "ChaikinVolatility"));
    return box_kind<kinds::ChaikinVolatility>("ChaikinVolatility",
                                              kinds::ChaikinVolatility::make(ema_period, roc_period));
}

}  // namespace ostrel::catalogue
