#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Acceleration bands: simple averages of the high widened and the low narrowed by
// factor * (high - low) / (high + low), around the simple average of the close.
class AccelerationBands final : public Indicator {
public:
    static Expected<AccelerationBands, IndicatorError> make(std::size_t period, double factor) {
        if (!std::isfinite(factor) || !(factor > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(upper, core::Sma::make(period));
        return AccelerationBands(upper, *core::Sma::make(period), *core::Sma::make(period), factor);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double sum = c->high + c->low;
        double r = sum == 0.0 ? 0.0 : (c->high - c->low) / sum;
        double u = c->high * std::fma(factor_, r, 1.0);
        double l = c->low * std::fma(-factor_, r, 1.0);
        // Near the ends of the float range the widened prices can overflow; such a bar
        // is refused whole, so that the three averages keep covering the same bars.
        if (!std::isfinite(u) || !std::isfinite(l)) return std::nullopt;
        auto au = upper_.step(u);
        auto am = middle_.step(c->close);
        auto al = lower_.step(l);
        if (!au || !am || !al) return std::nullopt;
        outputs_.store({*au, *am, *al});
        return *au;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return upper_.period(); }

private:
    AccelerationBands(core::Sma upper, core::Sma middle, core::Sma lower, double factor)
        : upper_(std::move(upper)), middle_(std::move(middle)), lower_(std::move(lower)), factor_(factor),
          outputs_({"upper", "middle", "lower"}) {}

    core::Sma upper_;
    core::Sma middle_;
    core::Sma lower_;
    double factor_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AccelerationBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AccelerationBands"));
    OSTREL_TRY(factor, param_f64(p, 1, "AccelerationBands"));
    return box_kind<kinds::AccelerationBands>("AccelerationBands", kinds::AccelerationBands::make(period, factor));
}

}  // namespace ostrel::catalogue
