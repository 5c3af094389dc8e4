#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"

namespace ostrel::kinds {

// Donchian channel: the highest high and lowest low of the last `period` candles and
// their midpoint.
class Donchian final : public Indicator {
public:
    explicit Donchian(core::DonchianWindow w) : w_(std::move(w)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        w_.push(*c);
        if (!w_.full()) return std::nullopt;
        double upper = w_.highest_high();
        double lower = w_.lowest_low();
        outputs_.store({upper, midpoint(upper, lower), lower});
        return upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::DonchianWindow w_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Donchian(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Donchian"));
    return box_kind<kinds::Donchian>("Donchian", core::DonchianWindow::make(period));
}

}  // namespace ostrel::catalogue
