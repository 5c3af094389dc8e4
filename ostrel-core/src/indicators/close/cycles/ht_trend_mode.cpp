#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ht_dcphase.hpp"

namespace ostrel::kinds {

// Trend (1) or cycle (0) mode: a cycle while the sine of the dominant-cycle phase
// has crossed its lead within half a period or the phase advances at a cycle's
// pace, overruled by a smoothed price at least 1.5% away from the trendline.
class HtTrendMode final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        raw_.push(x);
        const auto dc = chain_.step(x);
        if (!dc) return std::nullopt;
        const double trend = trend_step(*dc, chain_.exact_phase(*dc));
        if (chain_.chain.count() < core::kDominantCycleWarmup) return std::nullopt;
        return trend;
    }
    std::size_t warmup_period() const override { return core::kDominantCycleWarmup; }

private:
    // `phase`: the dominant-cycle phase as the phase kinds report it (exact over equal
    // smoothed prices), so that the trend agrees with their phase and sine.
    double trend_step(const core::DcPhase& dc, double phase) {
        constexpr double deg = 0.017453292519943295;
        const double sp = chain_.chain.smooth_period();
        const double sine = std::sin(phase * deg);
        const double lead = std::sin((phase + 45.0) * deg);

        // Mean of the newest n closes, summed newest first.
        double sum = 0.0;
        for (std::size_t k = 0; k < dc.n; ++k) sum = sum + raw_[k];
        const double itrend = sum / static_cast<double>(dc.n);
        const double trendline = (4.0 * itrend + 3.0 * it1_ + 2.0 * it2_ + it3_) / 10.0;
        it3_ = it2_;
        it2_ = it1_;
        it1_ = itrend;

        double trend = 1.0;
        if ((sine > lead && prev_sine_ <= prev_lead_) || (sine < lead && prev_sine_ >= prev_lead_)) {
            days_in_trend_ = 0.0;
            trend = 0.0;
        }
        days_in_trend_ += 1.0;
        if (days_in_trend_ < 0.5 * sp) trend = 0.0;
        const double change = phase - prev_phase_;
        if (sp != 0.0 && change > 241.20000000000002 / sp && change < 540.0 / sp) trend = 0.0;
        if (trendline != 0.0 && std::fabs((chain_.chain.smooth() - trendline) / trendline) >= 0.015) trend = 1.0;

        prev_phase_ = phase;
        prev_sine_ = sine;
        prev_lead_ = lead;
        return trend;
    }

    core::PhaseChain chain_;
    core::NewestFirst<50> raw_;
    double prev_phase_ = 0.0, prev_sine_ = 0.0, prev_lead_ = 0.0;
    double days_in_trend_ = 0.0;
    double it1_ = 0.0, it2_ = 0.0, it3_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HtTrendMode(std::span<const double>) { return box_kind(kinds::HtTrendMode{}); }

}  // namespace ostrel::catalogue
