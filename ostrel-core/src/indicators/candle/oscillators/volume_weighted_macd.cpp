#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/seeded_ema.hpp"
#include "indicators/core/volume_weighted_window.hpp"

namespace ostrel::kinds {

// MACD of volume-weighted averages of the close, with a seeded exponential signal.
class VolumeWeightedMacd final : public Indicator {
public:
    static Expected<VolumeWeightedMacd, IndicatorError> make(std::size_t fast, std::size_t slow,
                                                             std::size_t signal) {
        if (fast == 0 || slow == 0 || signal == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("fast period must be strictly less than slow period");
        if (fast > MAX_PERIOD || slow > MAX_PERIOD || signal > MAX_PERIOD) return IndicatorError::too_long();
        return VolumeWeightedMacd(*core::VolumeWeightedWindow::make(fast), *core::VolumeWeightedWindow::make(slow),
                                  *core::SeededEma::make(signal));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto fast = fast_.push(c->close, c->volume);
        auto slow = slow_.push(c->close, c->volume);
        if (!fast || !slow) return std::nullopt;
        double macd = *fast - *slow;
        if (!std::isfinite(macd)) return std::nullopt;
        auto signal = signal_.step_fused(macd);
        if (!signal) return std::nullopt;
        outputs_.store({macd, *signal, macd - *signal});
        return macd;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return slow_.period() + signal_.period() - 1; }

private:
    VolumeWeightedMacd(core::VolumeWeightedWindow fast, core::VolumeWeightedWindow slow, core::SeededEma signal)
        : fast_(std::move(fast)), slow_(std::move(slow)), signal_(signal), outputs_({"macd", "signal", "histogram"}) {}

    core::VolumeWeightedWindow fast_;
    core::VolumeWeightedWindow slow_;
    core::SeededEma signal_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeWeightedMacd(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "VolumeWeightedMacd"));
    OSTREL_TRY(slow, param_usize(p, 1, "VolumeWeightedMacd"));
    OSTREL_TRY(signal, param_usize(p, 2, "VolumeWeightedMacd"));
    return box_kind<kinds::VolumeWeightedMacd>("VolumeWeightedMacd",
                                               kinds::VolumeWeightedMacd::make(fast, slow, signal));
}

}  // namespace ostrel::catalogue
