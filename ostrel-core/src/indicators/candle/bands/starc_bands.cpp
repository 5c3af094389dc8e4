#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// STARC bands: a simple average of the close, plus and minus a multiple of the
// average true range (unfused step).
class StarcBands final : public Indicator {
public:
    static Expected<StarcBands, IndicatorError> make(std::size_t sma_period, std::size_t atr_period,
                                                     double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(sma, core::Sma::make(sma_period));
        OSTREL_TRY(atr, core::WilderAtr::make(atr_period));
        return StarcBands(std::move(sma), atr, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto mid = sma_.step(c->close);
        auto atr = atr_.step_unfused(c->high, c->low, c->close);
        if (!atr || !mid) return std::nullopt;
        double width = *atr * multiplier_;
        outputs_.store({*mid + width, *mid, *mid - width});
        return *mid + width;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        return sma_.period() > atr_.period() ? sma_.period() : atr_.period();
    }

private:
    StarcBands(core::Sma sma, core::WilderAtr atr, double multiplier)
        : sma_(std::move(sma)), atr_(atr), multiplier_(multiplier), outputs_({"upper", "middle", "lower"}) {}

    core::Sma sma_;
    core::WilderAtr atr_;
    double multiplier_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StarcBands(std::span<const double> p) {
    OSTREL_TRY(sma_period, param_usize(p, 0, "StarcBands"));
    OSTREL_TRY(atr_period, param_usize(p, 1, "StarcBands"));
    OSTREL_TRY(multiplier, param_f64(p, 2, "StarcBands"));
    return box_kind<kinds::StarcBands>("StarcBands", kinds::StarcBands::make(sma_period, atr_period, multiplier));
}

}  // namespace ostrel::catalogue
