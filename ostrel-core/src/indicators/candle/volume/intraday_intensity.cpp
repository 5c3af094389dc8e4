#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Intraday intensity of one candle: volume weighted by where the close lies in the
// range (2C - H - L over the range); 0 for a candle without range. Nothing carries.
class IntradayIntensity final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        if (!(range > 0.0)) return 0.0;
        return ((((c->close + c->close) - c->high) - c->low) * c->volume) / range;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_IntradayIntensity(std::span<const double>) { return box_kind(kinds::IntradayIntensity{}); }

}  // namespace ostrel::catalogue
