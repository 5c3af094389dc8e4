#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// The fast decycler minus the slow one, each the close minus a two-pole high-pass.
class DecyclerOscillator final : public Indicator {
public:
    static Expected<DecyclerOscillator, IndicatorError> make(std::size_t fast_period, std::size_t slow_period) {
        if (fast_period == 0 || slow_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period)
            return IndicatorError::invalid_period("fast period must be strictly less than slow period");
        if (slow_period > MAX_PERIOD) return IndicatorError::too_long();
        // The slow period exceeds the fast one, so only the fast high-pass can be unstable.
        if (fast_period < 2)
            return IndicatorError::invalid_period("fast period must be >= 2 (a high-pass pole on or outside the unit circle)");
        return DecyclerOscillator(fast_period, slow_period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const double hp_fast = fast_.step(x);
        const double hp_slow = slow_.step(x);
        return (x - hp_fast) - (x - hp_slow);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    DecyclerOscillator(std::size_t fast_period, std::size_t slow_period)
        : fast_(core::TwoPoleHighpass::over(fast_period)), slow_(core::TwoPoleHighpass::over(slow_period)) {}

    core::TwoPoleHighpass fast_;
    core::TwoPoleHighpass slow_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DecyclerOscillator(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "DecyclerOscillator"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "DecyclerOscillator"));
    return box_kind<kinds::DecyclerOscillator>("DecyclerOscillator",
                                               kinds::DecyclerOscillator::make(fast_period, slow_period));
}

}  // namespace ostrel::catalogue
