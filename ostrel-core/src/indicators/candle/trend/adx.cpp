#include "catalogue/params.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Average directional index. Its value is its first output, +DI; the average itself
// is read through the "adx" output.
class Adx final : public Indicator {
public:
    explicit Adx(core::Adx core) : core_(core), outputs_({"plus_di", "minus_di", "adx"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = core_.step(*c);
        if (!v) return std::nullopt;
        // The exact +DI and -DI are at most 100 (no move exceeds its true range, and
        // the sums are smoothed alike), and ADX averages DX values that are at most
        // 100; a division can read a rounding above. Read here, not in the core,
        // so the averages take the values as computed.
        const double plus_di = core::not_above(v->plus_di, 100.0);
        outputs_.store({plus_di, core::not_above(v->minus_di, 100.0), core::not_above(v->adx, 100.0)});
        return plus_di;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 2 * core_.period(); }

private:
    core::Adx core_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Adx(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Adx"));
    return box_kind<kinds::Adx>("Adx", core::Adx::make(period));
}

}  // namespace ostrel::catalogue
