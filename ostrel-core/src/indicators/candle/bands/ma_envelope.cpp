#include "catalogue/params.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Simple average of the close shifted up and down by a fixed fraction. Reads the
// close only; a non-finite close is ignored.
class MaEnvelope final : public Indicator {
public:
    static Expected<MaEnvelope, IndicatorError> make(std::size_t period, double percent) {
        if (!std::isfinite(percent) || !(percent > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(sma, core::Sma::make(period));
        return MaEnvelope(std::move(sma), percent);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto m = sma_.step(f.candle.close);
        if (!m) return std::nullopt;
        double upper = *m * (1.0 + percent_);
        outputs_.store({upper, *m, *m * (1.0 - percent_)});
        return upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    MaEnvelope(core::Sma sma, double percent)
        : sma_(std::move(sma)), percent_(percent), outputs_({"upper", "middle", "lower"}) {}

    core::Sma sma_;
    double percent_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MaEnvelope(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MaEnvelope"));
    OSTREL_TRY(percent, param_f64(p, 1, "MaEnvelope"));
    return box_kind<kinds::MaEnvelope>("MaEnvelope", kinds::MaEnvelope::make(period, percent));
}

}  // namespace ostrel::catalogue
