#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Volume oscillator: the percentage by which the fast simple average of volume
// exceeds the slow one (0 when the slow average is 0).
class VolumeOscillator final : public Indicator {
public:
    static Expected<VolumeOscillator, IndicatorError> make(std::size_t fast, std::size_t slow) {
        if (fast == 0 || slow == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("VolumeOscillator needs fast < slow");
        OSTREL_TRY(fast_sma, core::Sma::make(fast));
        OSTREL_TRY(slow_sma, core::Sma::make(slow));
        return VolumeOscillator(std::move(fast_sma), std::move(slow_sma));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto a = fast_.step(c->volume);
        auto b = slow_.step(c->volume);
        if (!a || !b) return std::nullopt;
        if (*b == 0.0) return 0.0;
        return ((*a - *b) * 100.0) / *b;
    }
    std::size_t warmup_period() const override { return slow_.period(); }

private:
    VolumeOscillator(core::Sma fast, core::Sma slow) : fast_(std::move(fast)), slow_(std::move(slow)) {}

    core::Sma fast_;
    core::Sma slow_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeOscillator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "VolumeOscillator"));
    OSTREL_TRY(slow, param_usize(p, 1, "VolumeOscillator"));
    return box_kind<kinds::VolumeOscillator>("VolumeOscillator", kinds::VolumeOscillator::make(fast, slow));
}

}  // namespace ostrel::catalogue
