#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Sum of the window's excesses over the threshold against the sum of its shortfalls.
class OmegaRatio final : public Indicator {
public:
    static Expected<OmegaRatio, IndicatorError> make(std::size_t period, double threshold) {
        OSTREL_TRY(w, core::RollingWindow::make(period));
        return OmegaRatio(std::move(w), threshold);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double gain = 0.0, loss = 0.0;
        w_.window.for_each([&](double v) {
            double d = v - threshold_;
            if (d < 0.0) {
                loss = loss + -d;
            } else {
                gain = gain + d;
            }
        });
        if (loss == 0.0) return gain == 0.0 ? 1.0 : std::numeric_limits<double>::infinity();
        return gain / loss;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    OmegaRatio(core::RollingWindow w, double threshold) : w_(std::move(w)), threshold_(threshold) {}
    core::RollingWindow w_;
    double threshold_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OmegaRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "OmegaRatio"));
    OSTREL_TRY(threshold, param_f64(p, 1, "OmegaRatio"));
    return box_kind<kinds::OmegaRatio>("OmegaRatio", kinds::OmegaRatio::make(period, threshold));
}

}  // namespace ostrel::catalogue
