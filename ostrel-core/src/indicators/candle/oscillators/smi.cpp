#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Stochastic momentum index: the close against the middle of the window's range,
// and the range itself, each smoothed twice; while the smoothed range is not
// positive the previous value stands.
class Smi final : public Indicator {
public:
    static Expected<Smi, IndicatorError> make(std::size_t period, std::size_t smooth1, std::size_t smooth2) {
        if (period == 0 || smooth1 == 0 || smooth2 == 0) return IndicatorError::zero_period();
        if (smooth1 > MAX_PERIOD || smooth2 > MAX_PERIOD) return IndicatorError::too_long();
        // The window holds `period` highs and lows: a length that could not be
        // allocated is refused like every other over-long window.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return Smi(period, smooth1, smooth2);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        highs_.push(c->high);
        lows_.push(c->low);
        if (!highs_.full()) return std::nullopt;
        const double hh = core::highest(highs_);
        const double ll = core::lowest(lows_);
        double rel = c->close - midpoint(hh, ll);
        double range = hh - ll;
        // Ema::step takes nothing from a non-finite input.
        auto a = rel_1_.step(rel);
        auto r = range_1_.step(range);
        std::optional<double> b, d;
        if (a && std::isfinite(*a)) b = rel_2_.step(*a);
        if (r && std::isfinite(*r)) d = range_2_.step(*r);
        if (!a || !b || !r || !d) return std::nullopt;
        if (*d <= 0.0) return last_;
        // The close lies within the window's range, so no distance from the midpoint
        // exceeds half the range, and both are smoothed by the same averages from the
        // same bars: the exact ratio lies within -100..100.
        const double result = core::within(*b * 100.0 / (*d * 0.5), -100.0, 100.0);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return period_ + smooth1_ + smooth2_ - 2; }

private:
    Smi(std::size_t period, std::size_t smooth1, std::size_t smooth2)
        : highs_(period),
          lows_(period),
          rel_1_(*core::Ema::make(smooth1)),
          rel_2_(*core::Ema::make(smooth2)),
          range_1_(*core::Ema::make(smooth1)),
          range_2_(*core::Ema::make(smooth2)),
          period_(period),
          smooth1_(smooth1),
          smooth2_(smooth2) {}

    std::optional<double> last_;
    core::Ring<double> highs_;
    core::Ring<double> lows_;
    core::Ema rel_1_;
    core::Ema rel_2_;
    core::Ema range_1_;
    core::Ema range_2_;
    std::size_t period_;
    std::size_t smooth1_;
    std::size_t smooth2_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Smi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Smi"));
    OSTREL_TRY(smooth1, param_usize(p, 1, "Smi"));
    OSTREL_TRY(smooth2, param_usize(p, 2, "Smi"));
    return box_kind<kinds::Smi>("Smi", kinds::Smi::make(period, smooth1, smooth2));
}

}  // namespace ostrel::catalogue
