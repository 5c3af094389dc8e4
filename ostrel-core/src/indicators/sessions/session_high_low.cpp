#include <cstdint>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"

namespace ostrel::kinds {

// Highest high and lowest low of the current local day.
class SessionHighLow final : public Indicator {
public:
    explicit SessionHighLow(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (session_.enter(calendar_.locate(c->time).date)) {
            high_ = c->high;
            low_ = c->low;
        } else {
            if (c->high > high_) high_ = c->high;
            if (c->low < low_) low_ = c->low;
        }
        outputs_.store({high_, low_});
        return high_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    core::SessionCalendar calendar_;
    core::SessionDay session_;
    double high_ = -std::numeric_limits<double>::infinity();
    double low_ = std::numeric_limits<double>::infinity();
    OutputSlots<2> outputs_{{"high", "low"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SessionHighLow(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "SessionHighLow"));
    return box_kind(kinds::SessionHighLow{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
