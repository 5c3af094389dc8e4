#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/bollinger.hpp"

namespace ostrel::kinds {

// Where the close stands between the Bollinger bands; 0.5 when they coincide.
class PercentB final : public Indicator {
public:
    static Expected<core::BollingerWindow, IndicatorError> make(std::size_t period, double multiplier) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return core::BollingerWindow(period, multiplier);
    }
    explicit PercentB(core::BollingerWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = w_.step(f.candle.close);
        if (!r) return std::nullopt;
        double width = r->upper - r->lower;
        double v = width == 0.0 ? 0.5 : (f.candle.close - r->lower) / width;
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::BollingerWindow w_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PercentB(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PercentB"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "PercentB"));
    return box_kind<kinds::PercentB>("PercentB", kinds::PercentB::make(period, multiplier));
}

}  // namespace ostrel::catalogue
