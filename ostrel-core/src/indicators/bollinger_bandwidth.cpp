#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/bollinger.hpp"

namespace ostrel::kinds {

// Width of the Bollinger bands relative to their middle; 0 when the middle is 0.
class BollingerBandwidth final : public Indicator {
public:
    static Expected<core::BollingerWindow, IndicatorError> make(std::size_t period, double multiplier) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return core::BollingerWindow(period, multiplier);
    }
    explicit BollingerBandwidth(core::BollingerWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = w_.step(f.candle.close);
        if (!r) return std::nullopt;
        double v = r->middle == 0.0 ? 0.0 : (r->upper - r->lower) / r->middle;
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

BuildResult build_BollingerBandwidth(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BollingerBandwidth"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "BollingerBandwidth"));
    return box_kind<kinds::BollingerBandwidth>("BollingerBandwidth", kinds::BollingerBandwidth::make(period, multiplier));
}

}  // namespace ostrel::catalogue
