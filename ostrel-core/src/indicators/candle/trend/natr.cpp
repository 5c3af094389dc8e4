#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// Average true range as a percentage of the close: (100 * ATR) / close, 0 for a
// close of exactly 0.
class Natr final : public Indicator {
public:
    explicit Natr(core::WilderAtr atr) : atr_(atr) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto atr = atr_.step_fused(c->high, c->low, c->close);
        if (!atr) return std::nullopt;
        const double result = c->close == 0.0 ? 0.0 : (100.0 * *atr) / c->close;
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    core::WilderAtr atr_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Natr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Natr"));
    return box_kind<kinds::Natr>("Natr", core::WilderAtr::make(period));
}

}  // namespace ostrel::catalogue
