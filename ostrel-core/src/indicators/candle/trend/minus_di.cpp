#include "catalogue/params.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Downward directional indicator: 100 * smoothed -DM / smoothed TR (0 when TR is 0).
class MinusDi final : public Indicator {
public:
    explicit MinusDi(core::DirectionalMovement dm) : dm_(dm) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto d = dm_.step(*c);
        if (!d) return std::nullopt;
        // A move up or down is never larger than its true range and never both, and
        // the three sums are smoothed alike, so the exact +DI and -DI (and their sum)
        // are at most 100; the division can read a rounding above. Read here, not in
        // the core, so DX and ADX are taken from the indexes as computed.
        const double result = core::not_above(d->minus_di, 100.0);
        return result;
    }
    std::size_t warmup_period() const override { return dm_.period() + 1; }

private:
    core::DirectionalMovement dm_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MinusDi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MinusDi"));
    return box_kind<kinds::MinusDi>("MinusDi", core::DirectionalMovement::make(period));
}

}  // namespace ostrel::catalogue
