#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// True range of each candle against the previous valid candle's close.
class TrueRange final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double tr = core::true_range(c->high, c->low, previous_close_);
        previous_close_ = c->close;
        return tr;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    std::optional<double> previous_close_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TrueRange(std::span<const double>) { return box_kind(kinds::TrueRange{}); }

}  // namespace ostrel::catalogue
