#include <algorithm>
#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/rolling_pair_sums.hpp"

namespace ostrel::kinds {

// Share of the up-bodies in the sum of all bodies over the window, in percent; 50
// when every body is empty (also when the running sums keep a residue of bodies that
// have left the window), 100 or 0 when the window's bodies all go one way.
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
        if (!sums_.full()) return std::nullopt;
        // A side whose window holds only zero bodies reads exactly 0: a window of empty
        // bodies gives 50, one of gains (losses) alone exactly 100 (0), whatever residue
        // the other side's sum keeps of bodies that left.
        const bool no_gains = sums_.zeros_a(), no_losses = sums_.zeros_b();
        if (no_gains | no_losses) return no_losses ? (no_gains ? 50.0 : 100.0) : 0.0;
        // Sums of non-negative bodies read below 0 (residues of bodies that left) are 0.
        const double gains = core::not_below_zero(sums_.sum_a());
        const double total = gains + core::not_below_zero(sums_.sum_b());
        if (total == 0.0) return 50.0;
        // gains x 100 may round beyond total x 100.
        return std::min(gains * 100.0 / total, 100.0);
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    core::RollingPairSums sums_;  // (gain, loss)
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_IntradayMomentumIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "IntradayMomentumIndex"));
    return box_kind<kinds::IntradayMomentumIndex>("IntradayMomentumIndex", core::RollingPairSums::make(period));
}

}  // namespace ostrel::catalogue
