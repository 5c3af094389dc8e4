#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Percentile rank of the close in its window: closes below it count fully, equal
// ones (itself included) count half.
class RollingPercentileRank final : public Indicator {
public:
    explicit RollingPercentileRank(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!w_.push_finite(x)) return std::nullopt;
        std::size_t below = 0, equal = 0;
        w_.window.for_each([&](double v) {
            if (v < x) ++below;
            else if (v == x) ++equal;
        });
        double rank = static_cast<double>(below) + static_cast<double>(equal) / 2.0;
        return rank / static_cast<double>(w_.period) * 100.0;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingPercentileRank(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingPercentileRank"));
    return box_kind<kinds::RollingPercentileRank>("RollingPercentileRank", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
