#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// The candle's range as a fraction of its close (0 for a zero close).
class HighLowRange final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (c->close == 0.0) return 0.0;
        return (c->high - c->low) / c->close;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HighLowRange(std::span<const double>) { return box_kind(kinds::HighLowRange{}); }

}  // namespace ostrel::catalogue
