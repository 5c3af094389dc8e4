#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Volume-weighted average of the typical price since the first accepted candle,
// with bands at a multiple of the volume-weighted standard deviation. The sums are
// kept as deviations from the first typical price; nothing is ever reset.
class VwapStdDevBands final : public Indicator {
public:
    static Expected<VwapStdDevBands, IndicatorError> make(double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return VwapStdDevBands(multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double typical = ((c->high + c->low) + c->close) / 3.0;
        if (!anchor_set_) {
            anchor_ = typical;
            anchor_set_ = true;
        }
        double d = typical - anchor_;
        sum_wd_ = sum_wd_ + c->volume * d;
        sum_wd2_ = sum_wd2_ + c->volume * (d * d);
        sum_w_ = sum_w_ + c->volume;
        if (sum_w_ == 0.0) return std::nullopt;
        double mean_d = sum_wd_ / sum_w_;
        double vwap = anchor_ + mean_d;
        double variance = core::max_ignoring_nan(sum_wd2_ / sum_w_ - mean_d * mean_d, 0.0);
        double sd = std::sqrt(variance);
        double width = sd * multiplier_;
        outputs_.store({vwap + width, vwap, vwap - width, sd});
        return vwap + width;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit VwapStdDevBands(double multiplier)
        : multiplier_(multiplier), outputs_({"upper", "middle", "lower", "stddev"}) {}

    double multiplier_;
    double anchor_ = 0.0;
    bool anchor_set_ = false;
    double sum_wd_ = 0.0;
    double sum_wd2_ = 0.0;
    double sum_w_ = 0.0;
    OutputSlots<4> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VwapStdDevBands(std::span<const double> p) {
    OSTREL_TRY(multiplier, param_f64(p, 0, "VwapStdDevBands"));
    return box_kind<kinds::VwapStdDevBands>("VwapStdDevBands", kinds::VwapStdDevBands::make(multiplier));
}

}  // namespace ostrel::catalogue
