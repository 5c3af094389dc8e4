#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// The current local day's overnight return (first open against the previous day's
// last close) and its intraday return so far (close against that first open).
class OvernightIntradayReturn final : public Indicator {
public:
    explicit OvernightIntradayReturn(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (session_.enter(calendar_.locate(c->time).date)) {
            if (prev_close_) overnight_ = core::session_return(c->open, *prev_close_);
            session_open_ = c->open;
        }
        prev_close_ = c->close;
        if (!overnight_) return std::nullopt;
        const double intraday = core::session_return(c->close, session_open_);
        outputs_.store({*overnight_, intraday});
        return *overnight_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 2; }

private:
    core::SessionCalendar calendar_;
    core::SessionDay session_;
    std::optional<double> prev_close_;
    std::optional<double> overnight_;
    double session_open_ = 0.0;
    OutputSlots<2> outputs_{{"overnight", "intraday"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OvernightIntradayReturn(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "OvernightIntradayReturn"));
    return box_kind(kinds::OvernightIntradayReturn{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
