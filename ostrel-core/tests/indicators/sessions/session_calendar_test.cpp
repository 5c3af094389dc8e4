// The session calendar: local day number, hour and proleptic Gregorian date of a
// candle time under an offset in minutes, against the rows of data/calendar.txt
// (worked out with Python's datetime, independently of the code under test).
#include <gtest/gtest.h>

#include <string>

#include "indicators/core/session_calendar.hpp"
#include "support/table_file.hpp"

using ostrel::core::CalendarDate;
using ostrel::core::SessionCalendar;

TEST(SessionCalendar, MatchesTheIndependentCalendar) {
    for (const auto& r : table_file::read("indicators/sessions/data/calendar.txt")) {
        auto n = [&](std::size_t i) { return std::stoll(r[i]); };
        auto date = [&](std::size_t i) {
            return CalendarDate{n(i), static_cast<std::int32_t>(n(i + 1)), static_cast<std::int32_t>(n(i + 2))};
        };
        if (r[0] == "locate") {
            const auto m = SessionCalendar(static_cast<std::int32_t>(n(2))).locate(n(1));
            EXPECT_EQ(m.day_number, n(3)) << "line " << r.line;
            EXPECT_EQ(m.hour, n(4)) << "line " << r.line;
            EXPECT_EQ(m.date, date(5)) << "line " << r.line;
        } else if (r[0] == "civil") {
            EXPECT_EQ(SessionCalendar::civil_from_days(n(1)), date(2)) << "line " << r.line;
        } else {
            EXPECT_EQ(SessionCalendar::days_in_month(n(1), static_cast<std::int32_t>(n(2))), n(3)) << "line " << r.line;
        }
    }
}

TEST(SessionCalendar, SessionDayStartsOnEveryChangeOfDate) {
    ostrel::core::SessionDay s;
    EXPECT_FALSE(s.stored().has_value());
    EXPECT_TRUE(s.enter({2024, 1, 2}));
    EXPECT_FALSE(s.enter({2024, 1, 2}));
    EXPECT_TRUE(s.enter({2024, 1, 1}));  // an earlier date starts a new session too
    EXPECT_TRUE(s.enter({2024, 1, 2}));  // the same date after another is a new session
    EXPECT_EQ(*s.stored(), (CalendarDate{2024, 1, 2}));
}
