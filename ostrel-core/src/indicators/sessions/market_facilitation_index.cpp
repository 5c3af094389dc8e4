#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Range per unit of volume; a candle without volume gives nothing.
class MarketFacilitationIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c || c->volume == 0.0) return std::nullopt;
        last_ = (c->high - c->low) / c->volume;
        return last_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double last_ = 0.0;  // the last value produced
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MarketFacilitationIndex(std::span<const double>) {
    return box_kind(kinds::MarketFacilitationIndex{});
}

}  // namespace ostrel::catalogue
