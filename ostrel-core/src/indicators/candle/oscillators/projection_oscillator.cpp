#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/projection_bands.hpp"

namespace ostrel::kinds {

// The close within the projection bands, in percent; 50 when the bands meet.
class ProjectionOscillator final : public Indicator {
public:
    explicit ProjectionOscillator(core::ProjectionBands b) : bands_(std::move(b)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto lines = bands_.step(c->high, c->low);
        if (!lines) return std::nullopt;
        double width = lines->upper - lines->lower;
        if (width == 0.0) return 50.0;
        return (c->close - lines->lower) * 100.0 / width;
    }
    std::size_t warmup_period() const override { return bands_.period(); }

private:
    core::ProjectionBands bands_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ProjectionOscillator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ProjectionOscillator"));
    return box_kind<kinds::ProjectionOscillator>("ProjectionOscillator", core::ProjectionBands::make(period));
}

}  // namespace ostrel::catalogue
