#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// The close's distance from the regression line projected one step beyond the
// newest point, in percent of the close. A zero close repeats the last value.
class TsfOscillator final : public Indicator {
public:
    static Expected<TsfOscillator, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("TSF oscillator needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return TsfOscillator(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto forecast = core::Tsf::step(regression_, close);
        if (!forecast) return std::nullopt;
        if (close == 0.0) return last_value_;
        const double v = (close - *forecast) * 100.0 / close;
        last_value_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return regression_.period(); }

private:
    explicit TsfOscillator(std::size_t period) : regression_(period) {}

    std::optional<double> last_value_;
    core::RegressionWindow regression_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TsfOscillator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TsfOscillator"));
    return box_kind<kinds::TsfOscillator>("TsfOscillator", kinds::TsfOscillator::make(period));
}

}  // namespace ostrel::catalogue
