#include "catalogue/params.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Average directional index rating: the midpoint of the current ADX and the ADX of
// period - 1 updates earlier.
class Adxr final : public Indicator {
public:
    static Expected<Adxr, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(adx, core::Adx::make(period));
        return Adxr(adx, period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = core_.step(*c);
        if (!v) return std::nullopt;
        adx_.push(v->adx);
        if (!adx_.full()) return std::nullopt;
        // The midpoint of two averages of DX values, each at most 100 in exact
        // arithmetic; the ADX values are kept as computed and the result read within.
        const double result = core::not_above(midpoint(v->adx, adx_.oldest()), 100.0);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return 3 * core_.period() - 1; }

private:
    Adxr(core::Adx core, std::size_t period) : core_(core), adx_(period) {}

    core::Adx core_;
    core::Ring<double> adx_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Adxr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Adxr"));
    return box_kind<kinds::Adxr>("Adxr", kinds::Adxr::make(period));
}

}  // namespace ostrel::catalogue
