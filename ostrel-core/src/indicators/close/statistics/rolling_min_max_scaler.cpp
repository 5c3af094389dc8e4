#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Position of the close between the window's lowest and highest close; 0.5 for a
// flat window.
class RollingMinMaxScaler final : public Indicator {
public:
    static Expected<RollingMinMaxScaler, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("min-max scaler needs period >= 2");
        return RollingMinMaxScaler(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!core::push_finite(window_, x)) return std::nullopt;
        double lo = std::numeric_limits<double>::infinity();
        double hi = -std::numeric_limits<double>::infinity();
        window_.for_each([&](double v) {
            if (v < lo) lo = v;
            if (v > hi) hi = v;
        });
        double range = hi - lo;
        double value = range > 0.0 ? (x - lo) / range : 0.5;
        last_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit RollingMinMaxScaler(std::size_t period) : window_(period), period_(period) {}
    std::optional<double> last_;
    core::Ring<double> window_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingMinMaxScaler(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingMinMaxScaler"));
    return box_kind<kinds::RollingMinMaxScaler>("RollingMinMaxScaler", kinds::RollingMinMaxScaler::make(period));
}

}  // namespace ostrel::catalogue
