#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// DeMark range projection: the next bar's expected high and low from the current
// candle, weighting the extreme on the side the bar closed towards.
class TdRangeProjection final : public Indicator {
public:
    TdRangeProjection() : outputs_({"high", "low"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* k = core::checked_candle(f);
        if (!k) return std::nullopt;
        const double o = k->open, h = k->high, l = k->low, c = k->close;
        double x;
        if (c < o) x = c + (h + 2.0 * l);
        else if (c > o) x = c + (2.0 * h + l);
        else x = (h + l) + 2.0 * c;
        const double high = x * 0.5 - l;
        const double low = x * 0.5 - h;
        outputs_.store({high, low});
        return high;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdRangeProjection(std::span<const double>) { return box_kind(kinds::TdRangeProjection{}); }

}  // namespace ostrel::catalogue
