#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/lag_window.hpp"
#include "indicators/core/td_setup_count.hpp"

namespace ostrel::kinds {

// DeMark setup count alone: +n for n closes in a row below the close `lookback`
// bars back, -n for closes above it, 0 on an equal close; n stops at `length`.
class TdSetup final : public Indicator {
public:
    static Expected<TdSetup, IndicatorError> make(std::size_t lookback, std::size_t length) {
        if (lookback == 0 || length == 0) return IndicatorError::zero_period();
        // The close window holds lookback + 1 values: bounded like every window.
        OSTREL_TRY(closes, core::LagWindow::make(lookback));
        return TdSetup(std::move(closes), length);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto p = closes_.push(c->close);
        if (!p) return std::nullopt;
        count_.step(c->close, *p);
        return count_.signed_value();
    }
    std::size_t warmup_period() const override { return closes_.period() + 1; }

private:
    TdSetup(core::LagWindow closes, std::size_t length) : closes_(std::move(closes)), count_(length) {}

    core::LagWindow closes_;
    core::TdSetupCount count_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdSetup(std::span<const double> p) {
    OSTREL_TRY(lookback, param_usize(p, 0, "TdSetup"));
    OSTREL_TRY(length, param_usize(p, 1, "TdSetup"));
    return box_kind<kinds::TdSetup>("TdSetup", kinds::TdSetup::make(lookback, length));
}

}  // namespace ostrel::catalogue
