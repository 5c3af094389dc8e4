#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Body as a fraction of the range (not a percentage); 0 without range.
class BodySizePct final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        if (range == 0.0) return 0.0;
        return std::fabs(c->close - c->open) / range;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BodySizePct(std::span<const double>) { return box_kind(kinds::BodySizePct{}); }

}  // namespace ostrel::catalogue
