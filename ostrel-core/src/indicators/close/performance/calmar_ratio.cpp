#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Mean return of the window over the largest drawdown of the equity curve that the
// window's returns compound into (equity and peak start at 1).
class CalmarRatio final : public Indicator {
public:
    static Expected<CalmarRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("calmar ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return CalmarRatio(*core::RollingSums::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        sums_.push(x);
        if (!sums_.window.full()) return std::nullopt;
        const double m = sums_.sum / static_cast<double>(sums_.period);
        double equity = 1.0, peak = 1.0, worst = 0.0;
        sums_.window.for_each([&](double r) {
            equity = equity * (1.0 + r);
            if (equity > peak) peak = equity;
            double d = (peak - equity) / peak;
            if (d > worst) worst = d;
        });
        return worst == 0.0 ? 0.0 : m / worst;
    }
    std::size_t warmup_period() const override { return sums_.period; }

private:
    explicit CalmarRatio(core::RollingSums s) : sums_(std::move(s)) {}
    core::RollingSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CalmarRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CalmarRatio"));
    return box_kind<kinds::CalmarRatio>("CalmarRatio", kinds::CalmarRatio::make(period));
}

}  // namespace ostrel::catalogue
