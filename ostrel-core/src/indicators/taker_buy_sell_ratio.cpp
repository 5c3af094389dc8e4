#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Taker buy volume over taker sell volume; 0 when the sell volume is 0.
class TakerBuySellRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        if (d.taker_sell_volume == 0.0) return 0.0;
        return d.taker_buy_volume / d.taker_sell_volume;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TakerBuySellRatio(std::span<const double>) { return box_kind(kinds::TakerBuySellRatio{}); }

}  // namespace ostrel::catalogue
