#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/money_flow_volume.hpp"

namespace ostrel::kinds {

// Chaikin oscillator: fast minus slow exponential average of the accumulation/
// distribution line (the running total of money-flow volume, never reset).
class ChaikinOscillator final : public Indicator {
public:
    static Expected<ChaikinOscillator, IndicatorError> make(std::size_t fast, std::size_t slow) {
        if (fast == 0 || slow == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("Chaikin Oscillator needs fast < slow");
        if (fast > MAX_PERIOD || slow > MAX_PERIOD) return IndicatorError::too_long();
        return ChaikinOscillator(*core::Ema::make(fast), *core::Ema::make(slow));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        adl_ = adl_ + core::money_flow_volume(*c);
        // A line that has overflowed is not fed to the averages.
        if (!std::isfinite(adl_)) return std::nullopt;
        auto fast = fast_.step(adl_);
        auto slow = slow_.step(adl_);
        if (!slow) return std::nullopt;
        return *fast - *slow;
    }
    std::size_t warmup_period() const override { return slow_.period(); }

private:
    ChaikinOscillator(core::Ema fast, core::Ema slow) : fast_(fast), slow_(slow) {}

    double adl_ = 0.0;
    core::Ema fast_;
    core::Ema slow_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChaikinOscillator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "ChaikinOscillator"));
    OSTREL_TRY(slow, param_usize(p, 1, "ChaikinOscillator"));
    return box_kind<kinds::ChaikinOscillator>("ChaikinOscillator", kinds::ChaikinOscillator::make(fast, slow));
}

}  // namespace ostrel::catalogue
