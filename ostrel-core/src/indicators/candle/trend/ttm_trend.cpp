#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// +1 while the close is above the simple average of the median price, else -1
// (a close equal to the average counts as down). When the window's median prices
// are all equal, the average is that price exactly and the close is compared with
// it, not with the running sum's rounding of it.
class TtmTrend final : public Indicator {
public:
    explicit TtmTrend(core::Sma sma) : sma_(std::move(sma)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double m = midpoint(c->high, c->low);
        if (!std::isfinite(m)) return std::nullopt;  // the average takes nothing either
        medians_.push(m);
        const auto avg = sma_.step(m);
        if (!avg) return std::nullopt;
        if (medians_.covers(sma_.period())) return c->close > medians_.last() ? 1.0 : -1.0;
        return c->close > *avg ? 1.0 : -1.0;
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    core::Sma sma_;
    core::EqualRun medians_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TtmTrend(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TtmTrend"));
    return box_kind<kinds::TtmTrend>("TtmTrend", core::Sma::make(period));
}

}  // namespace ostrel::catalogue
