#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/seeded_ema.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// Keltner channel: a seeded exponential average of the close, plus and minus a
// multiple of the average true range. Both averages take the unfused step.
class Keltner final : public Indicator {
public:
    static Expected<Keltner, IndicatorError> make(std::size_t ema_period, std::size_t atr_period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(ema, core::SeededEma::make(ema_period));
        OSTREL_TRY(atr, core::WilderAtr::make(atr_period));
        return Keltner(ema, atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto ema = ema_.step_unfused(c->close);
        auto atr = atr_.step_unfused(c->high, c->low, c->close);
        if (!atr || !ema) return std::nullopt;
        double width = *atr * multiplier_;
        outputs_.store({*ema + width, *ema, *ema - width});
        return *ema + width;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        return ema_.period() > atr_.period() ? ema_.period() : atr_.period();
    }

private:
    Keltner(core::SeededEma ema, core::WilderAtr atr, double multiplier)
        : ema_(ema), atr_(atr), multiplier_(multiplier), outputs_({"upper", "middle", "lower"}) {}

    core::SeededEma ema_;
    core::WilderAtr atr_;
    double multiplier_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Keltner(std::span<const double> p) {
    OSTREL_TRY(ema_period, param_usize(p, 0, "Keltner"));
    OSTREL_TRY(atr_period, param_usize(p, 1, "Keltner"));
    OSTREL_TRY(multiplier, param_f64(p, 2, "Keltner"));
    return box_kind<kinds::Keltner>("Keltner", kinds::Keltner::make(ema_period, atr_period, multiplier));
}

}  // namespace ostrel::catalogue
