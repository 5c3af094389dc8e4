#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// +1 while the close is above the simple average of the median price, else -1
// (a close equal to the average counts as down).
class TtmTrend final : public Indicator {
public:
    explicit TtmTrend(core::Sma sma) : sma_(std::move(sma)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto avg = sma_.step(midpoint(c->high, c->low));
        if (!avg) return std::nullopt;
        return c->close > *avg ? 1.0 : -1.0;
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    core::Sma sma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TtmTrend(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TtmTrend"));
    return box_kind<kinds::TtmTrend>("TtmTrend", core::Sma::make(period));
}

}  // namespace ostrel::catalogue
