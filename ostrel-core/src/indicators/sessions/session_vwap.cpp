#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Volume-weighted mean of the typical prices of the current local day; the
// candle's own typical price while the day has seen no volume.
class SessionVwap final : public Indicator {
public:
    explicit SessionVwap(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double tp = core::VwapSums::typical_price(c->high, c->low, c->close);
        if (session_.enter(calendar_.locate(c->time).date)) sums_.clear();
        sums_.add(tp, c->volume);
        return sums_.volume_sum() > 0.0 ? sums_.mean() : tp;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    core::SessionCalendar calendar_;
    core::SessionDay session_;
    core::VwapSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SessionVwap(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "SessionVwap"));
    return box_kind(kinds::SessionVwap{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
