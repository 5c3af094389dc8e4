#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/return_window.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Amihud illiquidity: mean of |ln return| / (price x size) over the last `period`
// trades with a size; a zero-size trade changes nothing. A price that does not move
// fills the window with zeros, whose mean is exactly 0: the running sum would still
// hold the residue of the values that left it, a few units in the last place either
// side of 0.
class AmihudIlliquidity final : public Indicator {
public:
    explicit AmihudIlliquidity(core::ReturnWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        std::optional<double> result;
        const bool any = core::for_each_trade(f, [&](const Trade& t) { result = step(t); });
        if (!any) return std::nullopt;
        return result;
    }
    std::size_t warmup_period() const override { return w_.period + 1; }

private:
    std::optional<double> step(const Trade& t) {
        if (t.size == 0.0) return w_.last;
        const auto r = w_.log_return(t.price);
        if (!r) return std::nullopt;
        w_.push(std::fabs(*r) / (t.price * t.size), [](double v) { return v; });
        if (!w_.ring.full()) return std::nullopt;
        // A window of zero values gives exactly 0; a sum of non-negative terms read
        // below 0 is the residue of terms that left: 0.
        w_.last = w_.all_zero() ? 0.0 : core::not_below_zero(w_.sum) / static_cast<double>(w_.period);
        return w_.last;
    }

    core::ReturnWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AmihudIlliquidity(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AmihudIlliquidity"));
    return box_kind<kinds::AmihudIlliquidity>("AmihudIlliquidity", core::ReturnWindow::make(period));
}

}  // namespace ostrel::catalogue
