#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Z-score of the hedged log spread ln x - beta ln y, beta being the slope of ln x
// on ln y over the last `beta_period` bars; the z window of `z_period` spreads
// starts filling once the beta window is full.
class PairSpreadZScore final : public Indicator {
public:
    static Expected<PairSpreadZScore, IndicatorError> make(std::size_t beta_period, std::size_t z_period) {
        if (auto e = core::check_min_period(beta_period, 2, "pair spread z-score needs beta_period >= 2")) return *e;
        if (auto e = core::check_min_period(z_period, 2, "pair spread z-score needs z_period >= 2")) return *e;
        OSTREL_TRY(z, core::RollingMoments::make(z_period));
        return PairSpreadZScore(beta_period, std::move(z));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in || !(in->x > 0.0) || !(in->y > 0.0)) return std::nullopt;
        const double lx = std::log(in->x);
        const double ly = std::log(in->y);
        beta_.push(lx, ly);
        if (!beta_.full()) return std::nullopt;
        const double beta = beta_.slope();
        const double s = lx - beta * ly;
        if (!z_.push(s)) return std::nullopt;
        const double var = z_.variance();
        if (var == 0.0) return 0.0;
        return (s - z_.mean()) / std::sqrt(var);
    }
    std::size_t warmup_period() const override { return beta_.period() + z_.period() - 1; }

private:
    PairSpreadZScore(std::size_t beta_period, core::RollingMoments z) : beta_(beta_period), z_(std::move(z)) {}

    core::AnchoredPairSums beta_;
    core::RollingMoments z_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PairSpreadZScore(std::span<const double> p) {
    OSTREL_TRY(beta_period, param_usize(p, 0, "PairSpreadZScore"));
    OSTREL_TRY(z_period, param_usize(p, 1, "PairSpreadZScore"));
    return box_kind<kinds::PairSpreadZScore>("PairSpreadZScore", kinds::PairSpreadZScore::make(beta_period, z_period));
}

}  // namespace ostrel::catalogue
