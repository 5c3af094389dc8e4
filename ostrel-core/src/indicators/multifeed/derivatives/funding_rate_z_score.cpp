#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Z-score of the funding rate against the last `period` rates (population
// variance); 0 when the window has no spread.
class FundingRateZScore final : public Indicator {
public:
    explicit FundingRateZScore(core::RollingMoments m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const double rate = f.derivatives->funding_rate;
        // A non-finite rate cannot enter the anchored sums; it is refused unchanged.
        if (!m_.push(rate)) return std::nullopt;
        const double var = m_.variance();
        if (var == 0.0) return 0.0;
        return (rate - m_.mean()) / std::sqrt(var);
    }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    core::RollingMoments m_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingRateZScore(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FundingRateZScore"));
    return box_kind<kinds::FundingRateZScore>("FundingRateZScore", core::RollingMoments::make(period));
}

}  // namespace ostrel::catalogue
