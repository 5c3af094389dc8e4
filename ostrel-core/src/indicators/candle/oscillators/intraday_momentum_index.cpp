#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
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
        if (!sums_.full()) return std::nullopt;
        // A window of empty bodies has only zero gains and losses: both sums read
        // exactly 0 (see RollingPairSums), the total is 0 and the answer 50.
        double gains = sums_.sum_a();
        double total = gains + sums_.sum_b();
        if (total == 0.0) return 50.0;
        return gains * 100.0 / total;
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
