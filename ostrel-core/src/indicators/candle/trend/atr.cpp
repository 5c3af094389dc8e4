#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/wilder_atr.hpp"

namespace ostrel::kinds {

// Average true range with the fused Wilder step.
class Atr final : public Indicator {
public:
    explicit Atr(core::WilderAtr atr) : atr_(atr) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return atr_.step_fused(c->high, c->low, c->close);
    }
    std::size_t warmup_period() const override { return atr_.period(); }

private:
    core::WilderAtr atr_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Atr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Atr"));
    return box_kind<kinds::Atr>("Atr", core::WilderAtr::make(period));
}

}  // namespace ostrel::catalogue
