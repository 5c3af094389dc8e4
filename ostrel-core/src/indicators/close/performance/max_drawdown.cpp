#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Largest fall from a running peak over the last `period` levels, as a fraction of
// the peak; falls from a peak that is not positive do not count.
class MaxDrawdown final : public Indicator {
public:
    explicit MaxDrawdown(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double worst = 0.0;
        core::for_each_drawdown(w_.window, [&](double d) {
            if (d > worst) worst = d;
        });
        return worst;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MaxDrawdown(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MaxDrawdown"));
    return box_kind<kinds::MaxDrawdown>("MaxDrawdown", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
