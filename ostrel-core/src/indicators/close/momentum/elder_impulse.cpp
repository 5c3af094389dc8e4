#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/macd_histogram.hpp"

namespace ostrel::kinds {

// Elder impulse: +1 when both the trend average and the MACD histogram rise, -1
// when both fall, 0 otherwise.
class ElderImpulse final : public Indicator {
public:
    static Expected<ElderImpulse, IndicatorError> make(std::size_t ema_period, std::size_t fast_period,
                                                       std::size_t slow_period, std::size_t signal_period) {
        OSTREL_TRY(trend, core::Ema::make(ema_period));
        OSTREL_TRY(macd, core::MacdHistogram::make(fast_period, slow_period, signal_period));
        return ElderImpulse(std::move(trend), std::move(macd));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto trend = trend_.step(close);
        const auto h = macd_.step(close);
        if (!h || !trend) return std::nullopt;
        const auto prev_trend = prev_trend_;
        const auto prev_histogram = prev_histogram_;
        prev_trend_ = trend;
        prev_histogram_ = h;
        if (!prev_trend || !prev_histogram) return std::nullopt;
        double value = 0.0;
        if (*h > *prev_histogram && *trend > *prev_trend) {
            value = 1.0;
        } else if (*h < *prev_histogram && *trend < *prev_trend) {
            value = -1.0;
        }
        last_value_ = value;
        return value;
    }
    std::size_t warmup_period() const override {
        return std::max(macd_.warmup_period(), trend_.period()) + 1;
    }

private:
    ElderImpulse(core::Ema trend, core::MacdHistogram macd) : macd_(std::move(macd)), trend_(std::move(trend)) {}

    core::MacdHistogram macd_;
    std::optional<double> prev_trend_;
    std::optional<double> prev_histogram_;
    std::optional<double> last_value_;
    core::Ema trend_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ElderImpulse(std::span<const double> p) {
    OSTREL_TRY(ema_period, param_usize(p, 0, "ElderImpulse"));
    OSTREL_TRY(fast_period, param_usize(p, 1, "ElderImpulse"));
    OSTREL_TRY(slow_period, param_usize(p, 2, "ElderImpulse"));
    OSTREL_TRY(signal_period, param_usize(p, 3, "ElderImpulse"));
    return box_kind<kinds::ElderImpulse>("ElderImpulse",
                                         kinds::ElderImpulse::make(ema_period, fast_period, slow_period, signal_period));
}

}  // namespace ostrel::catalogue
