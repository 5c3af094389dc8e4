#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/sma_window.hpp"

namespace ostrel::kinds {

// Simple average of the candle body, close - open; a window of empty bodies (doji
// candles) averages to 0, not to the residue the running sum keeps of earlier bodies.
class Qstick final : public Indicator {
public:
    explicit Qstick(core::SmaWindow w) : sma_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double body = c->close - c->open;
        bodies_.push(body);
        const auto v = sma_.step(body);
        if (!v) return std::nullopt;
        // An average that is already 0 keeps its sign.
        if (*v != 0.0 && bodies_.covers(sma_.period())) return 0.0;
        return *v;
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    core::SmaWindow sma_;
    core::ZeroRun bodies_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Qstick(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Qstick"));
    return box_kind<kinds::Qstick>("Qstick", core::SmaWindow::make(period));
}

}  // namespace ostrel::catalogue
