#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/volume_lines.hpp"

namespace ostrel::kinds {

// VWAP anchored at the first update after construction: the same values as `Vwap`
// fed the same candles.
class AnchoredVwap final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        sums_.add(core::VwapSums::typical_price(c->high, c->low, c->close), c->volume);
        if (sums_.volume_sum() == 0.0) return std::nullopt;
        return sums_.mean();
    }
    std::size_t warmup_period() const override { return 1; }

private:
    core::VwapSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AnchoredVwap(std::span<const double>) { return box_kind(kinds::AnchoredVwap{}); }

}  // namespace ostrel::catalogue
