#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// ATR bands: the close plus and minus a multiple of the average true range (fused
// Wilder step).
class AtrBands final : public Indicator {
public:
    static Expected<AtrBands, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return AtrBands(atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        double w = *atr * multiplier_;
        outputs_.store({c->close + w, c->close, c->close - w});
        return c->close + w;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    AtrBands(core::WilderAtr atr, double multiplier)
        : atr_(atr), multiplier_(multiplier), outputs_({"upper", "middle", "lower"}) {}

    core::WilderAtr atr_;
    double multiplier_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AtrBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AtrBands"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "AtrBands"));
    return box_kind<kinds::AtrBands>("AtrBands", kinds::AtrBands::make(period, multiplier));
}

}  // namespace ostrel::catalogue
