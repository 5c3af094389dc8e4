#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/fractal_window.hpp"

namespace ostrel::kinds {

// Breakout of the last fractal pivot: +1 when the close crosses above the last
// pivot high, -1 when it crosses below the last pivot low (the latter wins when
// both happen), 0 otherwise. A pivot is the candle `right_bars` back whose high (or
// low) strictly exceeds those of the `left_bars` before and `right_bars` after it.
class PivotReversal final : public Indicator {
public:
    static Expected<PivotReversal, IndicatorError> make(std::size_t left_bars, std::size_t right_bars) {
        if (left_bars == 0 || right_bars == 0) return IndicatorError::zero_period();
        // The window of left + right + 1 candles is bounded like every other window,
        // so that a huge pair is refused rather than wrapping or exhausting memory.
        if (left_bars > MAX_PERIOD || right_bars > MAX_PERIOD || left_bars + right_bars + 1 > MAX_PERIOD)
            return IndicatorError::too_long();
        return PivotReversal(left_bars, right_bars);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push(c->high, c->low);
        if (!window_.full()) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const auto v = window_.test(left_bars_);
        if (v.pivot_high) pivot_high_ = window_.at(left_bars_).high;
        if (v.pivot_low) pivot_low_ = window_.at(left_bars_).low;
        double code = 0.0;
        if (pivot_low_ && prev_close_ && *prev_close_ >= *pivot_low_ && *pivot_low_ > c->close)
            code = -1.0;
        else if (pivot_high_ && prev_close_ && *prev_close_ <= *pivot_high_ && *pivot_high_ < c->close)
            code = 1.0;
        prev_close_ = c->close;
        return code;
    }
    std::size_t warmup_period() const override { return window_.length(); }

private:
    PivotReversal(std::size_t left_bars, std::size_t right_bars)
        : left_bars_(left_bars), window_(left_bars + right_bars + 1) {}

    std::size_t left_bars_;
    core::FractalWindow window_;
    std::optional<double> pivot_high_;
    std::optional<double> pivot_low_;
    std::optional<double> prev_close_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PivotReversal(std::span<const double> p) {
    OSTREL_TRY(left_bars, param_usize(p, 0, "PivotReversal"));
    OSTREL_TRY(right_bars, param_usize(p, 1, "PivotReversal"));
    return box_kind<kinds::PivotReversal>("PivotReversal", kinds::PivotReversal::make(left_bars, right_bars));
}

}  // namespace ostrel::catalogue
