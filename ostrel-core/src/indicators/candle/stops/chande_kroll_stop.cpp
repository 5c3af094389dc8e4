#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// First stops `multiplier` average true ranges inside the channel of the last
// `atr_period` candles; the final stops are the lowest first low stop (long) and the
// highest first high stop (short) of the last `stop_period` bars.
class ChandeKrollStop final : public Indicator {
public:
    static Expected<ChandeKrollStop, IndicatorError> make(std::size_t atr_period, double multiplier,
                                                          std::size_t stop_period) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        if (auto e = check_period(stop_period)) return *e;
        OSTREL_TRY(atr, core::WilderAtr::make(atr_period));
        return ChandeKrollStop(atr, *core::DonchianWindow::make(atr_period), multiplier, stop_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        atr_.step_fused(c->high, c->low, c->close);
        window_.push(*c);
        if (!atr_.seeded() || !window_.full()) return std::nullopt;
        double offset = atr_.value() * multiplier_;
        high_stops_.push(window_.highest_high() - offset);
        low_stops_.push(window_.lowest_low() + offset);
        if (!high_stops_.full()) return std::nullopt;
        const double stop_short = core::highest(high_stops_);
        const double stop_long = core::lowest(low_stops_);
        outputs_.store({stop_long, stop_short});
        return stop_long;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period() + high_stops_.capacity() - 1; }

private:
    ChandeKrollStop(core::WilderAtr atr, core::DonchianWindow window, double multiplier, std::size_t stop_period)
        : atr_(atr),
          window_(std::move(window)),
          high_stops_(stop_period),
          low_stops_(stop_period),
          multiplier_(multiplier),
          outputs_({"stop_long", "stop_short"}) {}

    core::WilderAtr atr_;
    core::DonchianWindow window_;
    core::Ring<double> high_stops_;
    core::Ring<double> low_stops_;
    double multiplier_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChandeKrollStop(std::span<const double> p) {
    OSTREL_TRY(atr_period, param_usize(p, 0, "ChandeKrollStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "ChandeKrollStop"));
    OSTREL_TRY(stop_period, param_usize(p, 2, "ChandeKrollStop"));
    return box_kind<kinds::ChandeKrollStop>("ChandeKrollStop",
                                             kinds::ChandeKrollStop::make(atr_period, multiplier, stop_period));
}

}  // namespace ostrel::catalogue
