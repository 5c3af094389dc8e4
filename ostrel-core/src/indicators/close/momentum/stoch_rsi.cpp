#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/rsi.hpp"

namespace ostrel::kinds {

// Stochastic of the RSI over its last `stoch_period` values; a flat window gives 50.
// When the closes behind the whole window are equal, every step of the RSI in it
// scales both averages by the same factor, so the RSI is constant in exact
// arithmetic and the value is 50, whatever drift the two averages keep.
class StochRsi final : public Indicator {
public:
    static Expected<StochRsi, IndicatorError> make(std::size_t rsi_period, std::size_t stoch_period) {
        if (rsi_period == 0 || stoch_period == 0) return IndicatorError::zero_period();
        OSTREL_TRY(rsi, core::Rsi::make(rsi_period));
        // The window is reserved in full; refuse lengths no window may have.
        if (stoch_period > MAX_PERIOD) return IndicatorError::too_long();
        return StochRsi(std::move(rsi), stoch_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;  // the RSI takes nothing either
        closes_.push(close);
        const auto r = rsi_.step(close);
        if (!r) return std::nullopt;
        rsi_values_.push(*r);
        if (!rsi_values_.full()) return std::nullopt;
        // The window's oldest RSI takes its own change; the later ones see no
        // change when the last `stoch_period` closes are equal.
        if (closes_.covers(rsi_values_.capacity())) return 50.0;
        double hi = rsi_values_.oldest();
        double lo = hi;
        rsi_values_.for_each([&](double v) {
            if (v > hi) hi = v;
            if (v < lo) lo = v;
        });
        const double range = hi - lo;
        if (range == 0.0) return 50.0;
        return (*r - lo) * 100.0 / range;
    }
    std::size_t warmup_period() const override { return rsi_.period() + rsi_values_.capacity(); }

private:
    StochRsi(core::Rsi rsi, std::size_t stoch_period) : rsi_(std::move(rsi)), rsi_values_(stoch_period) {}

    core::Rsi rsi_;
    core::Ring<double> rsi_values_;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StochRsi(std::span<const double> p) {
    OSTREL_TRY(rsi_period, param_usize(p, 0, "StochRsi"));
    OSTREL_TRY(stoch_period, param_usize(p, 1, "StochRsi"));
    return box_kind<kinds::StochRsi>("StochRsi", kinds::StochRsi::make(rsi_period, stoch_period));
}

}  // namespace ostrel::catalogue
