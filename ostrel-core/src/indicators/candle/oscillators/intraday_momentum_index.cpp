#include <algorithm>
#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/rolling_pair_sums.hpp"

namespace ostrel::kinds {

// Share of the up-bodies in the sum of all bodies over the window, in percent; 50
// when every body is empty (also when the running sums keep a residue of bodies that
// have left the window).
class IntradayMomentumIndex final : public Indicator {
public:
    explicit IntradayMomentumIndex(core::RollingPairSums s) : sums_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double d = c->close - c->open;
        double gain = d > 0.0 ? d : 0.0;
        double loss = d < 0.0 ? -d : 0.0;
        sums_.replace_then_add(gain, loss);
        bodies_.push(d);
        if (!sums_.full()) return std::nullopt;
        if (bodies_.zeros_cover(sums_.period())) return 50.0;
        // Sums of non-negative bodies read below 0 (residues of bodies that left) are 0.
        double gains = core::not_below_zero(sums_.sum_a());
        const double losses = core::not_below_zero(sums_.sum_b());
        double total = gains + losses;
        if (total == 0.0) return 50.0;
        // A window of gains alone gives 100, not a share rounded below or above it;
        // with losses gains x 100 may still round beyond total x 100.
        if (losses == 0.0) return 100.0;
        return std::min(gains * 100.0 / total, 100.0);
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    core::RollingPairSums sums_;  // (gain, loss)
    core::EqualRun bodies_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_IntradayMomentumIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "IntradayMomentumIndex"));
    return box_kind<kinds::IntradayMomentumIndex>("IntradayMomentumIndex", core::RollingPairSums::make(period));
}

}  // namespace ostrel::catalogue
