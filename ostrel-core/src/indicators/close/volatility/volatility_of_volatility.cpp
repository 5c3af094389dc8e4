#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Sample standard deviation of the last `volvol_window` values of the sample standard
// deviation of the last `vol_window` log returns.
class VolatilityOfVolatility final : public Indicator {
public:
    static Expected<VolatilityOfVolatility, IndicatorError> make(std::size_t vol_window, std::size_t volvol_window) {
        if (vol_window == 0 || volvol_window == 0) return IndicatorError::zero_period();
        if (vol_window < 2 || volvol_window < 2)
            return IndicatorError::invalid_period("vol-of-vol windows must both be >= 2");
        // Both rings are bounded like every other window.
        if (vol_window > MAX_PERIOD || volvol_window > MAX_PERIOD) return IndicatorError::too_long();
        return VolatilityOfVolatility(*core::RollingMoments::make(vol_window), *core::RollingMoments::make(volvol_window));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        if (!returns_.push(r)) return std::nullopt;
        double vol = std::sqrt(returns_.sample_variance());
        if (!vols_.push(vol)) return std::nullopt;
        const double result = std::sqrt(vols_.sample_variance());
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return returns_.period() + vols_.period(); }

private:
    VolatilityOfVolatility(core::RollingMoments returns, core::RollingMoments vols)
        : returns_(std::move(returns)), vols_(std::move(vols)) {}

    core::LogReturnStep log_return_;
    std::optional<double> last_;
    core::RollingMoments returns_;
    core::RollingMoments vols_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolatilityOfVolatility(std::span<const double> p) {
    OSTREL_TRY(vol_window, param_usize(p, 0, "VolatilityOfVolatility"));
    OSTREL_TRY(volvol_window, param_usize(p, 1, "VolatilityOfVolatility"));
    return box_kind<kinds::VolatilityOfVolatility>("VolatilityOfVolatility",
                                                   kinds::VolatilityOfVolatility::make(vol_window, volvol_window));
}

}  // namespace ostrel::catalogue
