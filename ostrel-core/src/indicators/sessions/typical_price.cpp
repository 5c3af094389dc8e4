#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Mean of the high, the low and the close.
class TypicalPrice final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return ((c->high + c->low) + c->close) / 3.0;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TypicalPrice(std::span<const double>) { return box_kind(kinds::TypicalPrice{}); }

}  // namespace ostrel::catalogue
