#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/projection_bands.hpp"

namespace ostrel::kinds {

// Projection bands: the largest projected high and smallest projected low of the
// window, each projected to the newest bar along its own regression slope.
class ProjectionBands final : public Indicator {
public:
    explicit ProjectionBands(core::ProjectionBands b) : bands_(std::move(b)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto lines = bands_.step(c->high, c->low);
        if (!lines) return std::nullopt;
        outputs_.store({lines->upper, lines->middle, lines->lower});
        return lines->upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return bands_.period(); }

private:
    core::ProjectionBands bands_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ProjectionBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ProjectionBands"));
    return box_kind<kinds::ProjectionBands>("ProjectionBands", core::ProjectionBands::make(period));
}

}  // namespace ostrel::catalogue
