#include "catalogue/params.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Directional index: 100 * |+DI - -DI| / (+DI + -DI), 0 when both are 0.
class Dx final : public Indicator {
public:
    explicit Dx(core::DirectionalMovement dm) : dm_(dm) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto d = dm_.step(*c);
        if (!d) return std::nullopt;
        // The difference of two non-negative indexes is no larger than their sum, so
        // the exact DX is at most 100; the division can read a rounding above.
        const double result = core::not_above(d->dx, 100.0);
        return result;
    }
    std::size_t warmup_period() const override { return dm_.period() + 1; }

private:
    core::DirectionalMovement dm_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Dx(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Dx"));
    return box_kind<kinds::Dx>("Dx", core::DirectionalMovement::make(period));
}

}  // namespace ostrel::catalogue
