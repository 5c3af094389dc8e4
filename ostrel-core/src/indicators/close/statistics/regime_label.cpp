#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"
#include "indicators/core/rolling_moments.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Volatility regime: the sample deviation of the last `vol_period` log returns set
// against the quartiles of its last `lookback` values: -1 below the lower quartile,
// +1 above the upper one, else 0.
class RegimeLabel final : public Indicator {
public:
    static Expected<RegimeLabel, IndicatorError> make(std::size_t vol_period, std::size_t lookback) {
        if (vol_period < 2) return IndicatorError::invalid_period("regime label needs vol_period >= 2");
        if (vol_period > MAX_PERIOD) return IndicatorError::too_long();
        if (lookback < 2) return IndicatorError::invalid_period("regime label needs lookback >= 2");
        if (lookback > MAX_PERIOD) return IndicatorError::too_long();
        return RegimeLabel(*core::RollingMoments::make(vol_period), lookback);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        if (!returns_.push(r)) return std::nullopt;
        double vol = std::sqrt(returns_.sample_variance());
        vols_.push(vol);
        if (!vols_.full()) return std::nullopt;
        double q1 = core::interpolated_quantile(vols_.sorted(), 0.25);
        double q3 = core::interpolated_quantile(vols_.sorted(), 0.75);
        const double result = vol < q1 ? -1.0 : (vol > q3 ? 1.0 : 0.0);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return returns_.period() + vols_.period(); }

private:
    RegimeLabel(core::RollingMoments returns, std::size_t lookback) : returns_(std::move(returns)), vols_(lookback) {}

    core::LogReturnStep log_return_;
    std::optional<double> last_;
    core::RollingMoments returns_;
    core::SortedWindow vols_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RegimeLabel(std::span<const double> p) {
    OSTREL_TRY(vol_period, param_usize(p, 0, "RegimeLabel"));
    OSTREL_TRY(lookback, param_usize(p, 1, "RegimeLabel"));
    return box_kind<kinds::RegimeLabel>("RegimeLabel", kinds::RegimeLabel::make(vol_period, lookback));
}

}  // namespace ostrel::catalogue
