#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Gross gains of the window over its gross losses.
class ProfitFactor final : public Indicator {
public:
    explicit ProfitFactor(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double gains = 0.0, losses = 0.0;
        w_.window.for_each([&](double v) {
            if (v > 0.0) {
                gains = gains + v;
            } else if (v < 0.0) {
                losses = losses + -v;
            }
        });
        if (losses == 0.0) return gains == 0.0 ? 1.0 : std::numeric_limits<double>::infinity();
        return gains / losses;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ProfitFactor(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ProfitFactor"));
    return box_kind<kinds::ProfitFactor>("ProfitFactor", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
