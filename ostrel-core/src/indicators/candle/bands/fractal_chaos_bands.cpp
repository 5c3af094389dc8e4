#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Fractal chaos bands: the high of the last confirmed high fractal and the low of the
// last confirmed low fractal, a fractal being a centre candle whose high (low) is
// strictly above (below) those of the `period` candles on each side.
class FractalChaosBands final : public Indicator {
public:
    static Expected<FractalChaosBands, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return FractalChaosBands(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        candles_.push(*c);
        if (!candles_.full()) return std::nullopt;
        const Candle& centre = candles_[period_];
        bool high_fractal = true;
        bool low_fractal = true;
        for (std::size_t i = 0; i < candles_.size(); ++i) {
            if (i == period_) continue;
            const Candle& o = candles_[i];
            if (!(o.high < centre.high)) high_fractal = false;
            if (!(o.low > centre.low)) low_fractal = false;
        }
        if (high_fractal) upper_ = centre.high;
        if (low_fractal) lower_ = centre.low;
        if (!upper_ || !lower_) return std::nullopt;
        outputs_.store({*upper_, *lower_});
        return *upper_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 2 * period_ + 1; }

private:
    explicit FractalChaosBands(std::size_t period)
        : candles_(2 * period + 1), period_(period), outputs_({"upper", "lower"}) {}

    core::Ring<Candle> candles_;
    std::size_t period_;
    std::optional<double> upper_;
    std::optional<double> lower_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FractalChaosBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FractalChaosBands"));
    return box_kind<kinds::FractalChaosBands>("FractalChaosBands", kinds::FractalChaosBands::make(period));
}

}  // namespace ostrel::catalogue
