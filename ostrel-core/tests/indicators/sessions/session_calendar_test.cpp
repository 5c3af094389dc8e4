// The session calendar: local day number, hour and proleptic Gregorian date of a
// candle time under an offset in minutes. The expected rows come from Python's
// datetime (dates outside its years 1..9999 shifted by whole 400-year cycles of
// 146097 days), independently of the code under test.
#include <gtest/gtest.h>

#include <cstdint>

#include "indicators/core/session_calendar.hpp"

namespace {

using ostrel::core::CalendarDate;
using ostrel::core::SessionCalendar;

struct Row {
    std::int64_t time;
    std::int32_t offset;
    std::int64_t day_number;
    std::int32_t hour;
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
};

const Row kRows[] = {
    {0LL, 0, 0LL, 0, 1970LL, 1, 1},
    {-1LL, 0, -1LL, 23, 1969LL, 12, 31},
    {86399999LL, 0, 0LL, 23, 1970LL, 1, 1},
    {86400000LL, 0, 1LL, 0, 1970LL, 1, 2},
    {86400000LL, -60, 0LL, 23, 1970LL, 1, 1},
    {INT64_MIN, 0, -106751991168LL, 16, -292275055LL, 5, 16},
    {9223372036854775807LL, 0, 106751991167LL, 7, 292278994LL, 8, 17},
    {INT64_MIN, -2147483648, -106753482476LL, 14, -292279138LL, 4, 23},
    {9223372036854775807LL, 2147483647, 106753482475LL, 9, 292283077LL, 9, 9},
    {951782400000LL, 0, 11016LL, 0, 2000LL, 2, 29},
    {951868799999LL, 0, 11016LL, 23, 2000LL, 2, 29},
    {951868800000LL, 0, 11017LL, 0, 2000LL, 3, 1},
    {-2208988800000LL, 0, -25567LL, 0, 1900LL, 1, 1},
    {1700000000123LL, 330, 19676LL, 3, 2023LL, 11, 15},
    {1700000000123LL, -240, 19675LL, 18, 2023LL, 11, 14},
    {-62135596800000LL, 0, -719162LL, 0, 1LL, 1, 1},
    {-62135596800001LL, 0, -719163LL, 23, 0LL, 12, 31},
    {8261657684473197624LL, -1940095024, 95619690726LL, 12, 261799791LL, 3, 31},
    {661906188132091940LL, 31936245, 7660973429LL, 11, 20977002LL, 11, 1},
    {-7637925360916934440LL, -351447909, -88402157961LL, 10, -242034918LL, 4, 15},
    {8258772313671944433LL, -443753964, 95587334356LL, 21, 261711202LL, 7, 7},
    {9635579316894LL, 847, 111523LL, 11, 2275LL, 5, 5},
    {1041580751562LL, -107, 12055LL, 6, 2003LL, 1, 3},
    {2320952475791LL, 934, 26863LL, 12, 2043LL, 7, 20},
    {6053715410141LL, -1219, 70065LL, 7, 2161LL, 10, 31},
    {-6706447417090LL, -395, -77622LL, 19, 1757LL, 6, 24},
    {-7712224886502LL, -1252, -89263LL, 6, 1725LL, 8, 10},
};

}  // namespace

TEST(SessionCalendar, MatchesAnIndependentCalendarOverTheWholeTimeRange) {
    for (const Row& r : kRows) {
        const auto m = SessionCalendar(r.offset).locate(r.time);
        EXPECT_EQ(m.day_number, r.day_number) << r.time << " " << r.offset;
        EXPECT_EQ(m.hour, r.hour) << r.time << " " << r.offset;
        EXPECT_EQ(m.date, (CalendarDate{r.year, r.month, r.day})) << r.time << " " << r.offset;
    }
}

TEST(SessionCalendar, DayBoundariesAndNegativeTimes) {
    const SessionCalendar utc(0), west(-60);
    EXPECT_NE(utc.locate(86399999).date, utc.locate(86400000).date);
    EXPECT_EQ(west.locate(86400000).date, (CalendarDate{1970, 1, 1}));
    const auto before = utc.locate(-1);  // floor division: second -1, day -1
    EXPECT_EQ(before.date, (CalendarDate{1969, 12, 31}));
    EXPECT_EQ(before.hour, 23);
    EXPECT_EQ(utc.locate(-1000).day_number, -1);
    EXPECT_EQ(utc.locate(-86400000).date, (CalendarDate{1969, 12, 31}));
    EXPECT_EQ(utc.locate(-86400001).date, (CalendarDate{1969, 12, 30}));
}

TEST(SessionCalendar, LeapDaysAndMonthLengths) {
    EXPECT_EQ(SessionCalendar::civil_from_days(11016), (CalendarDate{2000, 2, 29}));
    EXPECT_EQ(SessionCalendar::civil_from_days(11017), (CalendarDate{2000, 3, 1}));
    EXPECT_EQ(SessionCalendar::civil_from_days(-25509), (CalendarDate{1900, 2, 28}));
    EXPECT_EQ(SessionCalendar::civil_from_days(-25508), (CalendarDate{1900, 3, 1}));
    EXPECT_EQ(SessionCalendar::civil_from_days(-719469), (CalendarDate{0, 2, 29}));  // year 0 is a leap year
    EXPECT_EQ(SessionCalendar::days_in_month(1900, 2), 28);
    EXPECT_EQ(SessionCalendar::days_in_month(2000, 2), 29);
    EXPECT_EQ(SessionCalendar::days_in_month(2024, 2), 29);
    EXPECT_EQ(SessionCalendar::days_in_month(2023, 2), 28);
    EXPECT_EQ(SessionCalendar::days_in_month(-4, 2), 29);
    EXPECT_EQ(SessionCalendar::days_in_month(-100, 2), 28);
    EXPECT_EQ(SessionCalendar::days_in_month(2023, 4), 30);
    EXPECT_EQ(SessionCalendar::days_in_month(2023, 12), 31);
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
