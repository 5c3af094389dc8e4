#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// On-balance volume: the volume of a candle is added when its close rises against
// the previous close and subtracted when it falls.
class Obv final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (prev_close_) {
            if (c->close > *prev_close_) {
                total_ = total_ + c->volume;
            } else if (c->close < *prev_close_) {
                total_ = total_ - c->volume;
            }
        }
        prev_close_ = c->close;
        return total_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    std::optional<double> prev_close_;
    double total_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Obv(std::span<const double>) { return box_kind(kinds::Obv{}); }

}  // namespace ostrel::catalogue
