#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// The bar's close less its fitted value on the window's regression of the close on
// the reference: x - (a + beta x y).
class BetaNeutralSpread final : public Indicator {
public:
    static Expected<BetaNeutralSpread, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "beta-neutral spread needs period >= 2")) return *e;
        return BetaNeutralSpread(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        const auto fit = sums_.line();
        return in->x - (fit.intercept + fit.slope * in->y);
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    explicit BetaNeutralSpread(std::size_t period) : sums_(period) {}

    core::AnchoredPairSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BetaNeutralSpread(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BetaNeutralSpread"));
    return box_kind<kinds::BetaNeutralSpread>("BetaNeutralSpread", kinds::BetaNeutralSpread::make(period));
}

}  // namespace ostrel::catalogue
