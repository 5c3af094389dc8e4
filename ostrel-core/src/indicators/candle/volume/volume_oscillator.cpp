#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Volume oscillator: the percentage by which the fast simple average of volume
// exceeds the slow one (0 when the slow average is 0). Volumes are never negative:
// an average whose window holds only zero volumes is exactly 0, whatever residue
// its running sum keeps of the volumes that left it, and one read below 0 is 0; a
// slow window of equal volumes gives 0.
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
        volumes_.push(c->volume);
        if (!a || !b) return std::nullopt;
        // Equal volumes over the slow window: both averages are that volume (or the
        // slow one is 0), whatever residue the running sums keep.
        if (volumes_.covers(slow_.period())) return 0.0;
        const double fast = volumes_.zeros_cover(fast_.period()) ? 0.0 : *a;
        const double slow = *b;
        if (slow <= 0.0) return 0.0;
        return ((core::not_below_zero(fast) - slow) * 100.0) / slow;
    }
    std::size_t warmup_period() const override { return slow_.period(); }

private:
    VolumeOscillator(core::Sma fast, core::Sma slow) : fast_(std::move(fast)), slow_(std::move(slow)) {}

    core::Sma fast_;
    core::Sma slow_;
    core::EqualRun volumes_;  // watches the volumes only
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeOscillator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "VolumeOscillator"));
    OSTREL_TRY(slow, param_usize(p, 1, "VolumeOscillator"));
    return box_kind<kinds::VolumeOscillator>("VolumeOscillator", kinds::VolumeOscillator::make(fast, slow));
}

}  // namespace ostrel::catalogue
