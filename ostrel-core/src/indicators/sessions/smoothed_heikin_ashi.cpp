#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/heikin_ashi_chain.hpp"
#include "indicators/core/seeded_ema.hpp"

namespace ostrel::kinds {

// Heikin-Ashi candles of four exponentially smoothed prices (open, high, low,
// close), each average seeded with the mean of its first `period` prices and then
// stepped with a fused multiply-add. The four are fed the same candles, so they
// become ready together.
class SmoothedHeikinAshi final : public Indicator {
public:
    static Expected<SmoothedHeikinAshi, IndicatorError> make(std::size_t period) {
        auto avg = core::SeededEma::make(period);  // zero, then MAX_PERIOD
        if (!avg) return avg.error();
        return SmoothedHeikinAshi(*avg);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const auto o = open_.step_fused(c->open);
        const auto h = high_.step_fused(c->high);
        const auto l = low_.step_fused(c->low);
        const auto cl = close_.step_fused(c->close);
        if (!o || !h || !l || !cl) return std::nullopt;
        const auto ha = chain_.step(*o, *h, *l, *cl);
        outputs_.store(ha);
        return ha[0];
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return open_.period(); }

private:
    explicit SmoothedHeikinAshi(const core::SeededEma& avg) : open_(avg), high_(avg), low_(avg), close_(avg) {}

    core::SeededEma open_;
    core::SeededEma high_;
    core::SeededEma low_;
    core::SeededEma close_;
    core::HeikinAshiChain chain_;
    OutputSlots<4> outputs_{{"open", "high", "low", "close"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SmoothedHeikinAshi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SmoothedHeikinAshi"));
    return box_kind<kinds::SmoothedHeikinAshi>("SmoothedHeikinAshi", kinds::SmoothedHeikinAshi::make(period));
}

}  // namespace ostrel::catalogue
