#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Volume-price trend: the running total of volume times the fractional change of
// the close (a change of 0 after a previous close of 0); 0 on the first candle.
class VolumePriceTrend final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (prev_close_) {
            const double p = *prev_close_;
            const double ratio = p == 0.0 ? 0.0 : (c->close - p) / p;
            total_ = total_ + c->volume * ratio;
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

BuildResult build_VolumePriceTrend(std::span<const double>) { return box_kind(kinds::VolumePriceTrend{}); }

}  // namespace ostrel::catalogue
