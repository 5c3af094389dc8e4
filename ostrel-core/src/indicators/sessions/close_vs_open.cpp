#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Change from open to close as a fraction of the open; 0 when the open is 0.
class CloseVsOpen final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (c->open == 0.0) return 0.0;
        return (c->close - c->open) / c->open;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CloseVsOpen(std::span<const double>) { return box_kind(kinds::CloseVsOpen{}); }

}  // namespace ostrel::catalogue
