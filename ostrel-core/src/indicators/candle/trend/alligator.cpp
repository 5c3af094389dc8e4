#include "catalogue/params.hpp"
#include "indicators/core/alligator.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Jaw, teeth and lips lines of the median price; yields the jaw once all three are
// seeded.
class Alligator final : public Indicator {
public:
    explicit Alligator(core::Alligator core) : core_(core), outputs_({"jaw", "teeth", "lips"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = core_.step(c->high, c->low);
        if (!v) return std::nullopt;
        outputs_.store({v->jaw, v->teeth, v->lips});
        return v->jaw;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        std::size_t w = core_.jaw_period();
        if (core_.teeth_period() > w) w = core_.teeth_period();
        if (core_.lips_period() > w) w = core_.lips_period();
        return w;
    }

private:
    core::Alligator core_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Alligator(std::span<const double> p) {
    OSTREL_TRY(jaw, param_usize(p, 0, "Alligator"));
    OSTREL_TRY(teeth, param_usize(p, 1, "Alligator"));
    OSTREL_TRY(lips, param_usize(p, 2, "Alligator"));
    return box_kind<kinds::Alligator>("Alligator", core::Alligator::make(jaw, teeth, lips));
}

}  // namespace ostrel::catalogue
