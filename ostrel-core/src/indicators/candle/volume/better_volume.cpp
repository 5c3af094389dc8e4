#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Better volume: a class code for the bar's volume against the `period` - 1 older
// bars of the window: climax (range x volume above all older bars') +3/-3 by the
// bar's colour, churn (volume per unit of range above all older positive-range
// bars') 2, both 4, low volume (below all older volumes) 1, else 0.
class BetterVolume final : public Indicator {
public:
    static Expected<BetterVolume, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return BetterVolume(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        const Entry e{c->volume, range * c->volume, range > 0.0, c->volume / range};
        entries_.push(e);
        if (!entries_.full()) return std::nullopt;
        double min_v = std::numeric_limits<double>::infinity();
        double max_rv = -std::numeric_limits<double>::infinity();
        double max_vpr = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i + 1 < entries_.size(); ++i) {
            const Entry& o = entries_[i];
            min_v = core::min_ignoring_nan(min_v, o.volume);
            max_rv = core::max_ignoring_nan(max_rv, o.range_volume);
            if (o.positive) max_vpr = core::max_ignoring_nan(max_vpr, o.volume_per_range);
        }
        const bool churn = e.positive && e.volume_per_range > max_vpr;
        double code;
        if (e.range_volume > max_rv) {
            code = churn ? 4.0 : (c->close < c->open ? -3.0 : 3.0);
        } else {
            code = churn ? 2.0 : (e.volume < min_v ? 1.0 : 0.0);
        }
        last_ = code;
        return code;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    struct Entry {
        double volume = 0.0;
        double range_volume = 0.0;
        bool positive = false;  // range above 0
        double volume_per_range = 0.0;
    };

    explicit BetterVolume(std::size_t period) : entries_(period), period_(period) {}

    core::Ring<Entry> entries_;
    std::optional<double> last_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BetterVolume(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BetterVolume"));
    return box_kind<kinds::BetterVolume>("BetterVolume", kinds::BetterVolume::make(period));
}

}  // namespace ostrel::catalogue
