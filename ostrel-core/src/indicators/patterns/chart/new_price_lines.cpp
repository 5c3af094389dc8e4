#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Exhausted runs of closes: -1 once `count` or more consecutive higher closes have
// been seen, +1 once `count` or more consecutive lower closes, 0 otherwise.
class NewPriceLines final : public Indicator {
public:
    static Expected<NewPriceLines, IndicatorError> make(std::size_t count) {
        if (count < 2) return IndicatorError::invalid_period("new price lines count must be >= 2");
        if (count > MAX_PERIOD) return IndicatorError::too_long();
        return NewPriceLines(count);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        if (c->close > *prev_close_) {
            ++up_run_;
            down_run_ = 0;
        } else if (c->close < *prev_close_) {
            ++down_run_;
            up_run_ = 0;
        } else {
            up_run_ = 0;
            down_run_ = 0;
        }
        double code = 0.0;
        if (up_run_ >= count_)
            code = -1.0;
        else if (down_run_ >= count_)
            code = 1.0;
        prev_close_ = c->close;
        return code;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit NewPriceLines(std::size_t count) : count_(count) {}
    std::size_t count_;
    std::optional<double> prev_close_;
    std::size_t up_run_ = 0;
    std::size_t down_run_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_NewPriceLines(std::span<const double> p) {
    OSTREL_TRY(lines, param_usize(p, 0, "NewPriceLines"));
    return box_kind<kinds::NewPriceLines>("NewPriceLines", kinds::NewPriceLines::make(lines));
}

}  // namespace ostrel::catalogue
