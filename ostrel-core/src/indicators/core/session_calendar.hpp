// The one day rule of the session kinds: a candle's epoch-millisecond time, shifted
// by a fixed offset in minutes east of UTC, cut into a day number, an hour of the
// day and a proleptic Gregorian date. Everything is signed 64-bit arithmetic with
// floor division, so a time before 1970 falls on the earlier day (-1 ms is
// 1969-12-31 at 23:59:59.999). No step can overflow: the seconds of any 64-bit
// millisecond time lie within +-9.3e15 and the offset adds at most 1.3e11.
#pragma once

#include <cstdint>
#include <optional>

namespace ostrel::core {

struct CalendarDate {
    std::int64_t year = 1970;
    std::int32_t month = 1;  // 1..12
    std::int32_t day = 1;    // 1..31
    bool operator==(const CalendarDate&) const = default;
};

// Where a candle time lies on the local calendar.
struct LocalMoment {
    std::int64_t day_number = 0;  // days since 1970-01-01 (day 0)
    std::int32_t hour = 0;        // 0..23
    CalendarDate date;
};

class SessionCalendar {
public:
    explicit SessionCalendar(std::int32_t utc_offset_minutes) : offset_minutes_(utc_offset_minutes) {}

    std::int32_t utc_offset_minutes() const { return offset_minutes_; }

    LocalMoment locate(std::int64_t time_ms) const {
        const std::int64_t local = floor_div(time_ms, 1000) + 60 * static_cast<std::int64_t>(offset_minutes_);
        const std::int64_t day = floor_div(local, 86400);
        const std::int64_t second_of_day = local - 86400 * day;
        return {day, static_cast<std::int32_t>(second_of_day / 3600), civil_from_days(day)};
    }

    // Quotient rounded toward negative infinity; `b` is positive.
    static std::int64_t floor_div(std::int64_t a, std::int64_t b) {
        std::int64_t q = a / b;
        if (a % b < 0) --q;
        return q;
    }

    // Days since 1970-01-01 to the proleptic Gregorian date (eras of 400 years,
    // years counted from March so that the leap day ends the year).
    static CalendarDate civil_from_days(std::int64_t day_number) {
        const std::int64_t z = day_number + 719468;
        const std::int64_t era = floor_div(z, 146097);
        const std::int64_t doe = z - 146097 * era;  // 0..146096
        const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const std::int64_t y = yoe + 400 * era;
        const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const std::int64_t mp = (5 * doy + 2) / 153;
        const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
        const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
        return {month <= 2 ? y + 1 : y, static_cast<std::int32_t>(month), static_cast<std::int32_t>(day)};
    }

    static bool is_leap_year(std::int64_t year) {
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    }

    static std::int32_t days_in_month(std::int64_t year, std::int32_t month) {
        constexpr std::int32_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (month == 2 && is_leap_year(year)) return 29;
        return days[month - 1];
    }

private:
    std::int32_t offset_minutes_;
};

// The date of the session a kind is in. Any change of local date starts a new
// session, earlier dates included; the first date seen always does.
class SessionDay {
public:
    bool is_new(const CalendarDate& date) const { return !stored_ || !(*stored_ == date); }
    const std::optional<CalendarDate>& stored() const { return stored_; }
    void store(const CalendarDate& date) { stored_ = date; }

    // Stores `date` and tells whether it started a new session.
    bool enter(const CalendarDate& date) {
        if (!is_new(date)) return false;
        stored_ = date;
        return true;
    }

private:
    std::optional<CalendarDate> stored_;
};

}  // namespace ostrel::core
