#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Midpoint of the high and the low, halved first when a sum could overflow.
class MedianPrice final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return midpoint(c->high, c->low);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MedianPrice(std::span<const double>) { return box_kind(kinds::MedianPrice{}); }

}  // namespace ostrel::catalogue
