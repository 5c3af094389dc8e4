#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Center of gravity of the window (newest close weight 1, oldest weight `period`),
// centred on (period + 1) / 2: exactly 0 on a window of equal closes, whose rounded
// weighted sums would leave a residue.
class CenterOfGravity final : public Indicator {
public:
    explicit CenterOfGravity(core::RollingWindow w) : w_(std::move(w)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        w_.push(close);
        closes_.push(close);
        if (!w_.full()) return std::nullopt;
        // Every close of the window equal (the highest is the lowest).
        if (closes_.covers(w_.period)) return 0.0;
        const std::size_t n = w_.period;
        double num = 0.0;
        double den = 0.0;
        for (std::size_t k = 0; k < n; ++k) {
            const double v = w_.window.back(k);
            num = num + static_cast<double>(k + 1) * v;
            den = den + v;
        }
        if (!(std::fabs(den) > 2.220446049250313e-16)) return 0.0;
        return (static_cast<double>(n) + 1.0) / 2.0 - num / den;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CenterOfGravity(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CenterOfGravity"));
    return box_kind<kinds::CenterOfGravity>("CenterOfGravity", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
