#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"

namespace ostrel::kinds {

// The bare channel as a pair of stops: the lowest low for a long position, the
// highest high for a short one.
class DonchianStop final : public Indicator {
public:
    explicit DonchianStop(core::DonchianWindow w) : window_(std::move(w)), outputs_({"stop_long", "stop_short"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push(*c);
        if (!window_.full()) return std::nullopt;
        double stop_long = window_.lowest_low();
        outputs_.store({stop_long, window_.highest_high()});
        return stop_long;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::DonchianWindow window_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DonchianStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DonchianStop"));
    return box_kind<kinds::DonchianStop>("DonchianStop", core::DonchianWindow::make(period));
}

}  // namespace ostrel::catalogue
