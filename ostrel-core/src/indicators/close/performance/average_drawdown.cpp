#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Mean depth of the drawdown episodes of the last `period` levels: an episode opens
// below the running peak and closes at the next level at or above it (or at the end
// of the window); its depth is (peak - trough) / peak, counted only for a positive
// peak.
class AverageDrawdown final : public Indicator {
public:
    explicit AverageDrawdown(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double peak = -std::numeric_limits<double>::infinity();
        bool open = false;
        double p0 = 0.0, trough = 0.0, sum = 0.0;
        std::size_t count = 0;
        w_.window.for_each([&](double v) {
            if (v >= peak) {
                if (open && p0 > 0.0) {
                    sum = sum + (p0 - trough) / p0;
                    ++count;
                }
                open = false;
                peak = v;
            } else if (!open) {
                open = true;
                p0 = peak;
                trough = v;
            } else if (v < trough) {
                trough = v;
            }
        });
        if (open && p0 > 0.0) {
            sum = sum + (p0 - trough) / p0;
            ++count;
        }
        return count == 0 ? 0.0 : sum / static_cast<double>(count);
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AverageDrawdown(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AverageDrawdown"));
    return box_kind<kinds::AverageDrawdown>("AverageDrawdown", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
