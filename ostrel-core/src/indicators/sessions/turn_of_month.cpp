#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// Mean return of the finished local days that lie in the turn-of-month window: the
// first `first_days` and the last `last_days` days of their month. A day's return is
// its last close against the last close of the day before it; a day is booked when
// the next one begins, so the first day only supplies a reference close.
class TurnOfMonth final : public Indicator {
public:
    static Expected<TurnOfMonth, IndicatorError> make(std::uint32_t first_days, std::uint32_t last_days,
                                                      std::int32_t utc_offset_minutes) {
        if (first_days == 0 && last_days == 0) return IndicatorError::zero_period();
        return TurnOfMonth(first_days, last_days, utc_offset_minutes);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const core::CalendarDate date = calendar_.locate(c->time).date;
        if (session_.stored() && session_.is_new(date)) {
            if (reference_close_) book(*session_.stored(), core::session_return(last_close_, *reference_close_));
            reference_close_ = last_close_;
        }
        session_.store(date);
        last_close_ = c->close;
        if (count_ == 0) return std::nullopt;
        return sum_ / static_cast<double>(count_);
    }
    std::size_t warmup_period() const override { return 2; }

private:
    TurnOfMonth(std::uint32_t first_days, std::uint32_t last_days, std::int32_t utc_offset_minutes)
        : first_days_(first_days), last_days_(last_days), calendar_(utc_offset_minutes) {}

    void book(const core::CalendarDate& day, double r) {
        const std::int64_t length = core::SessionCalendar::days_in_month(day.year, day.month);
        std::int64_t last_start = length - static_cast<std::int64_t>(last_days_);
        if (last_start < 0) last_start = 0;
        if (day.day <= static_cast<std::int64_t>(first_days_) || day.day > last_start) {
            sum_ = sum_ + r;
            ++count_;
        }
    }

    std::uint32_t first_days_;
    std::uint32_t last_days_;
    core::SessionCalendar calendar_;
    core::SessionDay session_;
    std::optional<double> reference_close_;
    double last_close_ = 0.0;
    double sum_ = 0.0;
    std::uint64_t count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TurnOfMonth(std::span<const double> p) {
    OSTREL_TRY(first_days, param_u32(p, 0, "TurnOfMonth"));
    OSTREL_TRY(last_days, param_u32(p, 1, "TurnOfMonth"));
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 2, "TurnOfMonth"));
    return box_kind<kinds::TurnOfMonth>("TurnOfMonth",
                                        kinds::TurnOfMonth::make(first_days, last_days, utc_offset_minutes));
}

}  // namespace ostrel::catalogue
