#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"

namespace ostrel::kinds {

// Midpoint of the highest high and the lowest low of the last `period` candles.
class MidPrice final : public Indicator {
public:
    explicit MidPrice(core::DonchianWindow w) : window_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push(*c);
        if (!window_.full()) return std::nullopt;
        return midpoint(window_.highest_high(), window_.lowest_low());
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::DonchianWindow window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MidPrice(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MidPrice"));
    return box_kind<kinds::MidPrice>("MidPrice", core::DonchianWindow::make(period));
}

}  // namespace ostrel::catalogue
