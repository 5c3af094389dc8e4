#include "catalogue/params.hpp"
#include "indicators/core/atr_offset.hpp"

namespace ostrel::kinds {

// A stop `multiplier` average true ranges behind the most favourable close of the
// current side; a close beyond it reverses the side.
class VoltyStop final : public Indicator {
public:
    static Expected<VoltyStop, IndicatorError> make(std::size_t period, double multiplier) {
        OSTREL_TRY(offset, core::AtrOffset::make(period, multiplier));
        return VoltyStop(offset);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto step = offset_.step(f);
        if (!step) return std::nullopt;
        const double close = step->candle->close;
        const double offset = step->offset;
        if (!anchor_) {
            anchor_ = close;
            is_long_ = true;
            return close - offset;
        }
        const double anchor = *anchor_;
        if (is_long_) {
            if (close < anchor - offset) {
                is_long_ = false;
                anchor_ = close;
                return close + offset;
            }
            if (close > anchor) anchor_ = close;
            return *anchor_ - offset;
        }
        if (close > anchor + offset) {
            is_long_ = true;
            anchor_ = close;
            return close - offset;
        }
        if (close < anchor) anchor_ = close;
        return *anchor_ + offset;
    }
    std::size_t warmup_period() const override { return offset_.period(); }

private:
    explicit VoltyStop(core::AtrOffset offset) : offset_(offset) {}

    core::AtrOffset offset_;
    std::optional<double> anchor_;
    bool is_long_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VoltyStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VoltyStop"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "VoltyStop"));
    return box_kind<kinds::VoltyStop>("VoltyStop", kinds::VoltyStop::make(period, multiplier));
}

}  // namespace ostrel::catalogue
