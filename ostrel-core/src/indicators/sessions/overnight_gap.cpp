#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// Gap of the current local day: its first open against the last close of the day
// before, reported on every candle of the day; nothing during the first day.
class OvernightGap final : public Indicator {
public:
    explicit OvernightGap(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (session_.enter(calendar_.locate(c->time).date) && prev_close_) {
            gap_ = core::session_return(c->open, *prev_close_);
        }
        prev_close_ = c->close;
        return gap_;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    core::SessionCalendar calendar_;
    core::SessionDay session_;
    std::optional<double> prev_close_;
    std::optional<double> gap_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OvernightGap(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "OvernightGap"));
    return box_kind(kinds::OvernightGap{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
