#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Ease of movement: simple average over `period` bars of the move of the range
// midpoint times the range, per 1e8 units of volume. The running sum is recomputed
// exactly from the window every `period` pushes. A window whose terms are all 0 (no
// range, no move of the midpoint or no volume) averages to 0 between two re-sums too.
class EaseOfMovement final : public Indicator {
public:
    static Expected<EaseOfMovement, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(window, core::RollingSums::make(period));
        return EaseOfMovement(std::move(window));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double mid = midpoint(c->high, c->low);
        if (!prev_mid_) {
            prev_mid_ = mid;
            return std::nullopt;
        }
        const double e =
            c->volume == 0.0 ? 0.0 : (kVolumeScale * ((c->high - c->low) * (mid - *prev_mid_))) / c->volume;
        prev_mid_ = mid;
        window_.push(e);
        terms_.push(e);
        if (!window_.window.full()) return std::nullopt;
        // A sum that is already 0 keeps its sign.
        if (window_.sum != 0.0 && terms_.covers(window_.period)) return 0.0;
        return window_.sum / static_cast<double>(window_.period);
    }
    std::size_t warmup_period() const override { return window_.period + 1; }

private:
    static constexpr double kVolumeScale = 100000000.0;

    explicit EaseOfMovement(core::RollingSums window) : window_(std::move(window)) {}

    std::optional<double> prev_mid_;
    core::RollingSums window_;
    core::ZeroRun terms_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EaseOfMovement(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "EaseOfMovement"));
    return box_kind<kinds::EaseOfMovement>("EaseOfMovement", kinds::EaseOfMovement::make(period));
}

}  // namespace ostrel::catalogue
