#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Upper wick minus lower wick as a fraction of the range, in [-1, 1]; 0 without range.
class WickRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        if (range == 0.0) return 0.0;
        const double upper = c->high - (c->open > c->close ? c->open : c->close);
        const double lower = (c->open < c->close ? c->open : c->close) - c->low;
        return (upper - lower) / range;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WickRatio(std::span<const double>) { return box_kind(kinds::WickRatio{}); }

}  // namespace ostrel::catalogue
