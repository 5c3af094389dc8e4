#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/alligator.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Distances between the alligator's lines: |jaw - teeth| above the axis and
// -|teeth - lips| below it.
class GatorOscillator final : public Indicator {
public:
    explicit GatorOscillator(core::Alligator a) : alligator_(std::move(a)), outputs_({"upper", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto lines = alligator_.step(c->high, c->low);
        if (!lines) return std::nullopt;
        double upper = std::fabs(lines->jaw - lines->teeth);
        double lower = -std::fabs(lines->teeth - lines->lips);
        outputs_.store({upper, lower});
        return upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        std::size_t w = alligator_.jaw_period();
        if (alligator_.teeth_period() > w) w = alligator_.teeth_period();
        if (alligator_.lips_period() > w) w = alligator_.lips_period();
        return w;
    }

private:
    core::Alligator alligator_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GatorOscillator(std::span<const double> p) {
    OSTREL_TRY(jaw, param_usize(p, 0, "GatorOscillator"));
    OSTREL_TRY(teeth, param_usize(p, 1, "GatorOscillator"));
    OSTREL_TRY(lips, param_usize(p, 2, "GatorOscillator"));
    return box_kind<kinds::GatorOscillator>("GatorOscillator", core::Alligator::make(jaw, teeth, lips));
}

}  // namespace ostrel::catalogue
