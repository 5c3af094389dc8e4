#include "catalogue/params.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Wilder-smoothed sum of the downward directional movement.
class MinusDm final : public Indicator {
public:
    explicit MinusDm(core::DirectionalMovement dm) : dm_(dm) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto d = dm_.step(*c);
        if (!d) return std::nullopt;
        return d->minus_dm;
    }
    std::size_t warmup_period() const override { return dm_.period() + 1; }

private:
    core::DirectionalMovement dm_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MinusDm(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MinusDm"));
    return box_kind<kinds::MinusDm>("MinusDm", core::DirectionalMovement::make(period));
}

}  // namespace ostrel::catalogue
