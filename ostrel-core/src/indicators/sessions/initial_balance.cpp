#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// High and low of the first `period` candles after construction, reported from the
// first candle on and frozen once complete.
class InitialBalance final : public Indicator {
public:
    static Expected<InitialBalance, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return InitialBalance(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        balance_.step(c->high, c->low);
        outputs_.store({balance_.high(), balance_.low()});
        return balance_.high();
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit InitialBalance(std::size_t period) : balance_(period) {}

    core::FirstBarsRange balance_;
    OutputSlots<2> outputs_{{"high", "low"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_InitialBalance(std::span<const double> p) {
    OSTREL_TRY(bars, param_usize(p, 0, "InitialBalance"));
    return box_kind<kinds::InitialBalance>("InitialBalance", kinds::InitialBalance::make(bars));
}

}  // namespace ostrel::catalogue
