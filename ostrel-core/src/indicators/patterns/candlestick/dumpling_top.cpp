#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"
#include "indicators/core/rounded_turn.hpp"

namespace ostrel::kinds {

// Rounded top: the highest close of the window lies in its middle and the current close has fallen below both it and the window's first close.
class DumplingTop final : public Indicator {
public:
    static Expected<DumplingTop, IndicatorError> make(std::size_t period) {
        if (period < 5) return IndicatorError::invalid_period("dumpling top needs period >= 5");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return DumplingTop(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* candle = core::checked_candle(f);
        if (!candle) return std::nullopt;
        auto found = turn_.step(candle->close);
        if (!found) return std::nullopt;
        return *found ? core::PATTERN_BEARISH : core::PATTERN_NONE;
    }
    std::size_t warmup_period() const override { return turn_.period(); }

private:
    explicit DumplingTop(std::size_t period) : turn_(period, true) {}
    core::RoundedTurn turn_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DumplingTop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DumplingTop"));
    return box_kind<kinds::DumplingTop>("DumplingTop", kinds::DumplingTop::make(period));
}

}  // namespace ostrel::catalogue
