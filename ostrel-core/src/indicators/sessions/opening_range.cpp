#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// Range of the first `period` candles after construction and the close's distance
// from its midpoint; reported from the first candle on, while the range still forms.
class OpeningRange final : public Indicator {
public:
    static Expected<OpeningRange, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return OpeningRange(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        range_.step(c->high, c->low);
        const double breakout = c->close - midpoint(range_.low(), range_.high());
        outputs_.store({range_.high(), range_.low(), breakout});
        return range_.high();
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit OpeningRange(std::size_t period) : range_(period) {}

    core::FirstBarsRange range_;
    OutputSlots<3> outputs_{{"high", "low", "breakout_distance"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OpeningRange(std::span<const double> p) {
    OSTREL_TRY(bars, param_usize(p, 0, "OpeningRange"));
    return box_kind<kinds::OpeningRange>("OpeningRange", kinds::OpeningRange::make(bars));
}

}  // namespace ostrel::catalogue
