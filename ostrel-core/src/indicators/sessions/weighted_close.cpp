#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Mean of the high, the low and twice the close.
class WeightedClose final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return ((c->high + c->low) + (c->close + c->close)) * 0.25;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WeightedClose(std::span<const double>) { return box_kind(kinds::WeightedClose{}); }

}  // namespace ostrel::catalogue
