#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"
#include "indicators/core/rounded_turn.hpp"

namespace ostrel::kinds {

// Rounded bottom: the lowest close of the window lies in its middle and the current close has risen above both it and the window's first close.
class FryPanBottom final : public Indicator {
public:
    static Expected<FryPanBottom, IndicatorError> make(std::size_t period) {
        if (period < 5) return IndicatorError::invalid_period("frying pan bottom needs period >= 5");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return FryPanBottom(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* candle = core::checked_candle(f);
        if (!candle) return std::nullopt;
        auto found = turn_.step(candle->close);
        if (!found) return std::nullopt;
        return *found ? core::PATTERN_BULLISH : core::PATTERN_NONE;
    }
    std::size_t warmup_period() const override { return turn_.period(); }

private:
    explicit FryPanBottom(std::size_t period) : turn_(period, false) {}
    core::RoundedTurn turn_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FryPanBottom(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FryPanBottom"));
    return box_kind<kinds::FryPanBottom>("FryPanBottom", kinds::FryPanBottom::make(period));
}

}  // namespace ostrel::catalogue
