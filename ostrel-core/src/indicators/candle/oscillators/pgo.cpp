#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// Pretty good oscillator: the close minus its simple average, in units of an
// exponential average of the true range; the previous value stands while that
// average is not positive.
class Pgo final : public Indicator {
public:
    static Expected<Pgo, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(ema, core::Ema::make(period));
        OSTREL_TRY(sma, core::Sma::make(period));
        return Pgo(std::move(ema), std::move(sma));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto avg = sma_.step(c->close);
        double tr = core::true_range(c->high, c->low, prev_close_);
        prev_close_ = c->close;
        if (!std::isfinite(tr)) return std::nullopt;
        auto atr = ema_.step(tr);
        if (!atr || !avg) return std::nullopt;
        if (*atr <= 0.0) return last_;
        const double result = (c->close - *avg) / *atr;
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    Pgo(core::Ema ema, core::Sma sma) : ema_(std::move(ema)), sma_(std::move(sma)) {}

    std::optional<double> prev_close_;
    std::optional<double> last_;
    core::Ema ema_;
    core::Sma sma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Pgo(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Pgo"));
    return box_kind<kinds::Pgo>("Pgo", kinds::Pgo::make(period));
}

}  // namespace ostrel::catalogue
