#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equity_episodes.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Mean return of the window over the mean depth of its equity drawdown episodes.
class SterlingRatio final : public Indicator {
public:
    static Expected<SterlingRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("sterling ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return SterlingRatio(*core::RollingWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double depths = 0.0;
        std::size_t episodes = 0;
        double total = core::walk_equity_episodes(w_.window, [&](double d) {
            depths = depths + d;
            ++episodes;
        });
        if (episodes == 0) return 0.0;
        double avg = depths / static_cast<double>(episodes);
        if (!(avg > 0.0)) return 0.0;
        return (total / static_cast<double>(w_.period)) / avg;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    explicit SterlingRatio(core::RollingWindow w) : w_(std::move(w)) {}
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SterlingRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SterlingRatio"));
    return box_kind<kinds::SterlingRatio>("SterlingRatio", kinds::SterlingRatio::make(period));
}

}  // namespace ostrel::catalogue
