#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Center of gravity of the window (newest close weight 1, oldest weight `period`),
// centred on (period + 1) / 2: exactly 0 on a window of equal closes, whose rounded
// weighted sums would leave a residue.
class CenterOfGravity final : public Indicator {
public:
    explicit CenterOfGravity(core::RollingWindow w) : w_{std::move(w), {}} {}

    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        if (w_.flat()) return 0.0;
        const std::size_t n = w_.w.period;
        double num = 0.0;
        double den = 0.0;
        for (std::size_t k = 0; k < n; ++k) {
            const double v = w_.w.window.back(k);
            num = num + static_cast<double>(k + 1) * v;
            den = den + v;
        }
        if (!(std::fabs(den) > 2.220446049250313e-16)) return 0.0;
        return (static_cast<double>(n) + 1.0) / 2.0 - num / den;
    }
    std::size_t warmup_period() const override { return w_.w.period; }

private:
    core::WatchedWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CenterOfGravity(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CenterOfGravity"));
    return box_kind<kinds::CenterOfGravity>("CenterOfGravity", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
