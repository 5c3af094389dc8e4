#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Mean return of the window over the Ulcer index (root mean square percent drawdown)
// of the equity curve that its returns compound into.
class MartinRatio final : public Indicator {
public:
    static Expected<MartinRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("martin ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return MartinRatio(*core::RollingWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double total = 0.0, equity = 1.0, peak = 1.0, squares = 0.0;
        w_.window.for_each([&](double r) {
            total = total + r;
            equity = equity * (1.0 + r);
            if (equity > peak) peak = equity;
            double u = (peak - equity) * 100.0 / peak;
            squares = squares + u * u;
        });
        const double n = static_cast<double>(w_.period);
        const double mean_square = squares / n;
        if (!(mean_square > 0.0)) return 0.0;
        return (total / n) / std::sqrt(mean_square);
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    explicit MartinRatio(core::RollingWindow w) : w_(std::move(w)) {}
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MartinRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MartinRatio"));
    return box_kind<kinds::MartinRatio>("MartinRatio", kinds::MartinRatio::make(period));
}

}  // namespace ostrel::catalogue
