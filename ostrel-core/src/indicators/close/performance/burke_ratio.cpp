#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equity_episodes.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Mean return of the window over the square root of the sum of its squared equity
// drawdown depths.
class BurkeRatio final : public Indicator {
public:
    static Expected<BurkeRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("burke ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return BurkeRatio(*core::RollingWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double squares = 0.0;
        double total = core::walk_equity_episodes(w_.window, [&](double d) { squares = squares + d * d; });
        if (!(squares > 0.0)) return 0.0;
        return (total / static_cast<double>(w_.period)) / std::sqrt(squares);
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    explicit BurkeRatio(core::RollingWindow w) : w_(std::move(w)) {}
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BurkeRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BurkeRatio"));
    return box_kind<kinds::BurkeRatio>("BurkeRatio", kinds::BurkeRatio::make(period));
}

}  // namespace ostrel::catalogue
