#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/donchian_window.hpp"

namespace ostrel::kinds {

// Murrey math lines: the range between the lowest low and the highest high of the
// last `period` candles cut into eight equal steps; nine levels from the top down.
class MurreyMathLines final : public Indicator {
public:
    explicit MurreyMathLines(core::DonchianWindow w)
        : window_(std::move(w)),
          outputs_({"mm8_8", "mm7_8", "mm6_8", "mm5_8", "mm4_8", "mm3_8", "mm2_8", "mm1_8", "mm0_8"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push(*c);
        if (!window_.full()) return std::nullopt;
        const double hh = window_.highest_high();
        const double ll = window_.lowest_low();
        const double step = (hh - ll) * 0.125;
        const double top = ll + step * 8.0;
        outputs_.store({top, ll + step * 7.0, ll + step * 6.0, ll + step * 5.0, ll + step * 4.0, ll + step * 3.0,
                        ll + (step + step), ll + step, ll + step * 0.0});
        return top;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::DonchianWindow window_;
    OutputSlots<9> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MurreyMathLines(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MurreyMathLines"));
    return box_kind<kinds::MurreyMathLines>("MurreyMathLines", core::DonchianWindow::make(period));
}

}  // namespace ostrel::catalogue
