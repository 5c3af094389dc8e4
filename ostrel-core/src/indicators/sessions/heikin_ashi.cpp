#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/heikin_ashi_chain.hpp"

namespace ostrel::kinds {

// Heikin-Ashi candles of the raw candles; returns the Heikin-Ashi open.
class HeikinAshi final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const auto ha = chain_.step(c->open, c->high, c->low, c->close);
        outputs_.store(ha);
        return ha[0];
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    core::HeikinAshiChain chain_;
    OutputSlots<4> outputs_{{"open", "high", "low", "close"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HeikinAshi(std::span<const double>) { return box_kind(kinds::HeikinAshi{}); }

}  // namespace ostrel::catalogue
