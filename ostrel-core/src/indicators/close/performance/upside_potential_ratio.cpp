#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Mean excess over the minimum acceptable return against the downside deviation
// below it, both over the whole window, from running sums.
class UpsidePotentialRatio final : public Indicator {
public:
    static Expected<UpsidePotentialRatio, IndicatorError> make(std::size_t period, double mar) {
        if (period < 2) return IndicatorError::invalid_period("upside potential ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(mar)) return IndicatorError::invalid_parameter("mar must be finite");
        return UpsidePotentialRatio(period, mar);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (window_.full()) {
            double d = window_.oldest() - mar_;
            upside_ = upside_ - (d > 0.0 ? d : 0.0);
            if (d > 0.0) --above_;
            if (d < 0.0) {
                downside_sq_ = downside_sq_ - d * d;
                // With no shortfall left in the window its sum is exactly 0, not the
                // rounding residue of the subtractions.
                if (--below_ == 0) downside_sq_ = 0.0;
            }
        }
        window_.push(x);
        double d = x - mar_;
        upside_ = upside_ + (d > 0.0 ? d : 0.0);
        if (d > 0.0) ++above_;
        if (d < 0.0) {
            downside_sq_ = downside_sq_ + d * d;
            ++below_;
        }
        if (!window_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double dd = downside_sq_ / n;
        if (!(dd > 0.0)) return 0.0;
        // Without an excess in the window the upside is exactly 0, not the residue of
        // the excesses that left; an upside sum read below 0 is such a residue too.
        if (above_ == 0) return 0.0;
        return (core::not_below_zero(upside_) / n) / std::sqrt(dd);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    UpsidePotentialRatio(std::size_t period, double mar) : window_(period), period_(period), mar_(mar) {}

    core::Ring<double> window_;
    std::size_t period_;
    double mar_;
    double upside_ = 0.0;
    double downside_sq_ = 0.0;
    std::size_t below_ = 0;  // values below mar in the window
    std::size_t above_ = 0;  // values above mar in the window
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UpsidePotentialRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "UpsidePotentialRatio"));
    OSTREL_TRY(mar, param_f64(p, 1, "UpsidePotentialRatio"));
    return box_kind<kinds::UpsidePotentialRatio>("UpsidePotentialRatio", kinds::UpsidePotentialRatio::make(period, mar));
}

}  // namespace ostrel::catalogue
