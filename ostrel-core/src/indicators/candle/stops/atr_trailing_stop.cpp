#include <utility>

#include "catalogue/params.hpp"
#include "indicators/core/atr_offset.hpp"

namespace ostrel::kinds {

// A stop `multiplier` average true ranges from the close: below it while the close
// is above the last stop, above it otherwise; it ratchets only while two
// consecutive closes stay on the same side.
class AtrTrailingStop final : public Indicator {
public:
    static Expected<AtrTrailingStop, IndicatorError> make(std::size_t period, double multiplier) {
        OSTREL_TRY(offset, core::AtrOffset::make(period, multiplier));
        return AtrTrailingStop(offset);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto step = offset_.step(f);
        if (!step) return std::nullopt;
        const double close = step->candle->close;
        const double offset = step->offset;
        double stop;
        if (!last_) {
            stop = close - offset;
        } else {
            const double s = last_->first;
            const double p = last_->second;
            if (close > s) {
                double candidate = close - offset;
                stop = p > s ? (candidate > s ? candidate : s) : candidate;
            } else {
                double candidate = close + offset;
                stop = (close < s && p < s) ? (candidate < s ? candidate : s) : candidate;
            }
        }
        last_ = std::pair<double, double>{stop, close};
        return stop;
    }
    std::size_t warmup_period() const override { return offset_.period(); }

private:
    explicit AtrTrailingStop(core::AtrOffset offset) : offset_(offset) {}

    core::AtrOffset offset_;
    std::optional<std::pair<double, double>> last_;  // (stop, close it was set at)
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AtrTrailingStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AtrTrailingStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "AtrTrailingStop"));
    return box_kind<kinds::AtrTrailingStop>("AtrTrailingStop", kinds::AtrTrailingStop::make(period, multiplier));
}

}  // namespace ostrel::catalogue
