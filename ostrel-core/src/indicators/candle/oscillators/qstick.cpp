#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma_window.hpp"

namespace ostrel::kinds {

// Simple average of the candle body, close - open.
class Qstick final : public Indicator {
public:
    explicit Qstick(core::SmaWindow w) : sma_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return sma_.step(c->close - c->open);
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    core::SmaWindow sma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Qstick(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Qstick"));
    return box_kind<kinds::Qstick>("Qstick", core::SmaWindow::make(period));
}

}  // namespace ostrel::catalogue
