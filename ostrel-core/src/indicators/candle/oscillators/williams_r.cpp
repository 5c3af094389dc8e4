#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Williams %R: the close below the highest high of the window, in percent of the
// window's range (0 at the top, -100 at the bottom); -50 for an empty range.
class WilliamsR final : public Indicator {
public:
    explicit WilliamsR(core::DonchianWindow w) : window_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push(*c);
        if (!window_.full()) return std::nullopt;
        double hh = window_.highest_high();
        double ll = window_.lowest_low();
        double range = hh - ll;
        if (range == 0.0) return -50.0;
        // The close lies within the window's range, so the exact ratio is at least
        // -100; a close at the lowest low can read a rounding below.
        const double result = core::not_below((hh - c->close) * -100.0 / range, -100.0);
        return result;
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::DonchianWindow window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WilliamsR(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "WilliamsR"));
    return box_kind<kinds::WilliamsR>("WilliamsR", core::DonchianWindow::make(period));
}

}  // namespace ostrel::catalogue
