#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/bollinger.hpp"

namespace ostrel::kinds {

// Bollinger bands of the close: the window mean plus and minus a multiple of the
// population standard deviation. Reads only the close.
class BollingerBands final : public Indicator {
public:
    static Expected<BollingerBands, IndicatorError> make(std::size_t period, double multiplier) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return BollingerBands(core::BollingerWindow(period, multiplier));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = w_.step(f.candle.close);
        if (!r) return std::nullopt;
        outputs_.store({r->upper, r->middle, r->lower, r->stddev});
        return r->upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    explicit BollingerBands(core::BollingerWindow w)
        : w_(std::move(w)), outputs_({"upper", "middle", "lower", "stddev"}) {}

    core::BollingerWindow w_;
    OutputSlots<4> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BollingerBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BollingerBands"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "BollingerBands"));
    return box_kind<kinds::BollingerBands>("BollingerBands", kinds::BollingerBands::make(period, multiplier));
}

}  // namespace ostrel::catalogue
