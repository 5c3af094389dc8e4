#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// Long stop `multiplier` average true ranges below the highest high of the window,
// short stop as far above the lowest low.
class ChandelierExit final : public Indicator {
public:
    static Expected<ChandelierExit, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(atr, core::WilderAtr::make(period));
        return ChandelierExit(atr, *core::DonchianWindow::make(period), multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        atr_.step_fused(c->high, c->low, c->close);
        window_.push(*c);
        if (!atr_.seeded() || !window_.full()) return std::nullopt;
        double offset = atr_.value() * multiplier_;
        double long_stop = window_.highest_high() - offset;
        double short_stop = window_.lowest_low() + offset;
        outputs_.store({long_stop, short_stop});
        return long_stop;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    ChandelierExit(core::WilderAtr atr, core::DonchianWindow window, double multiplier)
        : atr_(atr), window_(std::move(window)), multiplier_(multiplier), outputs_({"long_stop", "short_stop"}) {}

    core::WilderAtr atr_;
    core::DonchianWindow window_;
    double multiplier_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChandelierExit(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ChandelierExit"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "ChandelierExit"));
    return box_kind<kinds::ChandelierExit>("ChandelierExit", kinds::ChandelierExit::make(period, multiplier));
}

}  // namespace ostrel::catalogue
