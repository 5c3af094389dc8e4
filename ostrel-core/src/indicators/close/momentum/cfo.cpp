#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"

namespace ostrel::kinds {

// Chande forecast oscillator: the close's distance from the regression line at the
// newest point, in percent of the close. A zero close repeats the last value.
class Cfo final : public Indicator {
public:
    static Expected<Cfo, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("linear regression needs period >= 2");
        return Cfo(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto line = regression_.step(close);
        if (!line) return std::nullopt;
        if (close == 0.0) return last_value_;
        const double v = (close - *line) * 100.0 / close;
        last_value_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return regression_.period(); }

private:
    explicit Cfo(std::size_t period) : regression_(period) {}

    std::optional<double> last_value_;
    core::RegressionWindow regression_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Cfo(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Cfo"));
    return box_kind<kinds::Cfo>("Cfo", kinds::Cfo::make(period));
}

}  // namespace ostrel::catalogue
