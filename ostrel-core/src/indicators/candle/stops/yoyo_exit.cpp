#include "catalogue/params.hpp"
#include "indicators/core/atr_offset.hpp"

namespace ostrel::kinds {

// A long-side exit `multiplier` average true ranges below the close, trailing up;
// after a close below it the level holds until the close rises more than one offset
// above it, then it re-arms below that close.
class YoyoExit final : public Indicator {
public:
    static Expected<YoyoExit, IndicatorError> make(std::size_t period, double multiplier) {
        OSTREL_TRY(offset, core::AtrOffset::make(period, multiplier));
        return YoyoExit(offset);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto step = offset_.step(f);
        if (!step) return std::nullopt;
        const double close = step->candle->close;
        const double offset = step->offset;
        if (!stop_) {
            stop_ = close - offset;
        } else if (is_long_) {
            if (close < *stop_) {
                is_long_ = false;
            } else if (close - offset > *stop_) {
                stop_ = close - offset;
            }
        } else if (close > *stop_ + offset) {
            is_long_ = true;
            stop_ = close - offset;
        }
        return stop_;
    }
    std::size_t warmup_period() const override { return offset_.period(); }

private:
    explicit YoyoExit(core::AtrOffset offset) : offset_(offset) {}

    core::AtrOffset offset_;
    std::optional<double> stop_;
    bool is_long_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_YoyoExit(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "YoyoExit"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "YoyoExit"));
    return box_kind<kinds::YoyoExit>("YoyoExit", kinds::YoyoExit::make(period, multiplier));
}

}  // namespace ostrel::catalogue
