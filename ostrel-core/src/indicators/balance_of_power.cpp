#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Balance of power: the candle's body over its range (0 for a zero range).
class BalanceOfPower final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        if (range == 0.0) return 0.0;
        return (c->close - c->open) / range;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BalanceOfPower(std::span<const double>) { return box_kind(kinds::BalanceOfPower{}); }

}  // namespace ostrel::catalogue
