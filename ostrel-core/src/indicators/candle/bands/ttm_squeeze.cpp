#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/bollinger.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// Squeeze detector: 1 while the Bollinger bands of the close lie inside a channel of
// the simple average plus and minus a multiple of the average true range (unfused
// Wilder step), else 0; with a momentum, the regression line at the newest bar of the
// close measured from the blend of the simple average and the window's mid-range.
class TtmSqueeze final : public Indicator {
public:
    static Expected<TtmSqueeze, IndicatorError> make(std::size_t period, double bb_mult, double kc_mult) {
        if (period < 2) return IndicatorError::invalid_period("TTM squeeze needs period >= 2 for the momentum regression");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(bb_mult) || !(bb_mult > 0.0) || !std::isfinite(kc_mult) || !(kc_mult > 0.0))
            return IndicatorError::non_positive_multiplier();
        return TtmSqueeze(period, bb_mult, kc_mult);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        highs_.push(c->high);
        lows_.push(c->low);
        closes_.push(c->close);
        auto bb = bollinger_.step(c->close);
        auto sma = sma_.step(c->close);
        auto atr = atr_.step_unfused(c->high, c->low, c->close);
        if (!atr || !bb || !sma) return std::nullopt;
        // A window of equal closes: the bands have no width and, like the simple
        // average, stand at the close itself, so they lie inside any channel; the
        // centred closes are level. The sums' residues would decide otherwise.
        const bool flat = bollinger_.flat();
        const double average = flat ? c->close : *sma;
        const double kc_width = *atr * kc_mult_;
        const double squeeze =
            flat || (bb->lower >= *sma - kc_width && bb->upper <= *sma + kc_width) ? 1.0 : 0.0;
        const double hh = core::highest(highs_);
        const double ll = core::lowest(lows_);
        const double base = midpoint(average, midpoint(hh, ll));
        double sy = 0.0, sxy = 0.0, x = 0.0;
        closes_.for_each([&](double v) {
            double y = v - base;
            sy = sy + y;
            sxy = sxy + y * x;
            x += 1.0;
        });
        const double n = static_cast<double>(period_);
        const double b = flat ? 0.0 : (sxy * n - sy * sum_x_) / slope_denominator_;
        const double momentum = (n - 1.0) * b + (sy - sum_x_ * b) / n;
        outputs_.store({squeeze, momentum});
        return squeeze;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_; }

private:
    TtmSqueeze(std::size_t period, double bb_mult, double kc_mult)
        : atr_(*core::WilderAtr::make(period)),
          highs_(period),
          lows_(period),
          closes_(period),
          bollinger_(period, bb_mult),
          sma_(*core::Sma::make(period)),
          period_(period),
          kc_mult_(kc_mult),
          outputs_({"squeeze", "momentum"}) {
        const double n = static_cast<double>(period);
        const double t = (n - 1.0) * n;
        sum_x_ = t * 0.5;
        const double sum_xx = (t * ((n + n) - 1.0)) / 6.0;
        slope_denominator_ = n * sum_xx - sum_x_ * sum_x_;
    }

    core::WilderAtr atr_;
    core::Ring<double> highs_;
    core::Ring<double> lows_;
    core::Ring<double> closes_;
    core::BollingerWindow bollinger_;
    core::Sma sma_;
    std::size_t period_;
    double kc_mult_;
    double sum_x_ = 0.0;
    double slope_denominator_ = 0.0;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TtmSqueeze(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TtmSqueeze"));
    OSTREL_TRY(bb_mult, param_f64(p, 1, "TtmSqueeze"));
    OSTREL_TRY(kc_mult, param_f64(p, 2, "TtmSqueeze"));
    return box_kind<kinds::TtmSqueeze>("TtmSqueeze", kinds::TtmSqueeze::make(period, bb_mult, kc_mult));
}

}  // namespace ostrel::catalogue
