// Session and calendar measures: construction, the local day and hour that decide
// sessions, and the edge cases of each kind, with values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::make;
using candlefam::outs;
using candlefam::reason;
using candlefam::Values;
using ostrel::FeedSnapshot;

// Milliseconds of a local day number, hour and minute at offset 0.
std::int64_t at(std::int64_t day, std::int64_t hour, std::int64_t minute = 0) {
    return ((day * 24 + hour) * 60 + minute) * 60000;
}

FeedSnapshot candle(std::int64_t t, double o, double h, double l, double c, double v = 1.0) {
    FeedSnapshot s;
    s.candle = {t, o, h, l, c, v};
    return s;
}
FeedSnapshot closing(std::int64_t t, double c) { return candle(t, c, c, c, c); }

Values run(const char* kind, std::vector<double> params, const std::vector<FeedSnapshot>& bars) {
    auto ind = make(kind, params);
    if (!ind) return {};
    return candlefam::feed(*ind, bars);
}

const char* const kOffsetKinds[] = {"SessionHighLow", "SessionRange", "SessionVwap",
                                    "OvernightGap",   "OvernightIntradayReturn", "SeasonalZScore"};

}  // namespace

TEST(SessionMeasures, OffsetKindsTakeAnyI32) {
    for (const char* k : kOffsetKinds) {
        for (double off : {-240.0, 0.0, 330.0, -2147483648.0, 2147483647.0, -0.0}) EXPECT_EQ(reason(k, {off}), "built") << k;
        EXPECT_EQ(reason(k, {0.5}), "parameter #0 must be an i32, got 0.5") << k;
        EXPECT_EQ(reason(k, {2147483648.0}), "parameter #0 must be an i32, got 2147483648") << k;
        EXPECT_EQ(reason(k, {}), "missing parameter #0") << k;
    }
    const std::size_t warmups[] = {1, 1, 1, 2, 2, 2};
    for (std::size_t i = 0; i < std::size(kOffsetKinds); ++i) EXPECT_EQ(make(kOffsetKinds[i], {0})->warmup_period(), warmups[i]);
}

TEST(SessionMeasures, TurnOfMonthConstruction) {
    EXPECT_EQ(reason("TurnOfMonth", {0, 0, 0}), candlefam::kZero);
    EXPECT_EQ(reason("TurnOfMonth", {0, 1, 0}), "built");
    EXPECT_EQ(reason("TurnOfMonth", {1, 0, -300}), "built");
    EXPECT_EQ(reason("TurnOfMonth", {-1, 1, 0}), "parameter #0 must be a u32, got -1");
    EXPECT_EQ(reason("TurnOfMonth", {1, 4294967296.0, 0}), "parameter #1 must be a u32, got 4294967296");
    EXPECT_EQ(reason("TurnOfMonth", {1, 2}), "missing parameter #2");
    EXPECT_EQ(reason("TurnOfMonth", {0, 0}), "missing parameter #2");  // reads come before the check
    EXPECT_EQ(make("TurnOfMonth", {3, 2, 0})->warmup_period(), 2u);
}

TEST(SessionMeasures, FirstBarsConstruction) {
    for (const char* k : {"OpeningRange", "InitialBalance"}) {
        EXPECT_EQ(reason(k, {16777216}), "built");
        EXPECT_EQ(reason(k, {16777217}), candlefam::kMax);
        EXPECT_EQ(reason(k, {1e-20}), candlefam::kZero);
        EXPECT_EQ(reason(k, {-2}), "parameter #0 must be a positive integer, got -2");
        EXPECT_EQ(make(k, {9})->warmup_period(), 1u);
    }
}

TEST(SessionMeasures, DayBoundaryFollowsTheOffset) {
    // 86,399,999 and 86,400,000 are two days at offset 0, one day (1970-01-01) at -60.
    const std::vector<FeedSnapshot> bars = {candle(86399999, 5, 6, 4, 5), candle(86400000, 5, 9, 5, 5)};
    auto utc = make("SessionHighLow", {0});
    EXPECT_EQ(candlefam::feed(*utc, bars), (Values{6.0, 9.0}));
    EXPECT_EQ(outs(*utc), (std::vector<double>{9.0, 5.0}));  // a fresh session
    auto west = make("SessionHighLow", {-60});
    EXPECT_EQ(candlefam::feed(*west, bars), (Values{6.0, 9.0}));
    EXPECT_EQ(outs(*west), (std::vector<double>{9.0, 4.0}));  // the low of the first candle kept
}

TEST(SessionMeasures, SessionHighLowExtremesAndEarlierDates) {
    auto k = make("SessionHighLow", {0});
    EXPECT_EQ(k->update(candle(at(3, 1), 10, 12, 9, 11)), 12.0);
    EXPECT_EQ(k->update(candle(at(3, 2), 10, 11, 8, 10)), 12.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{12.0, 8.0}));
    // An earlier date starts a new session, and so does the later one coming back.
    EXPECT_EQ(k->update(candle(at(2, 23), 10, 10.5, 9.5, 10)), 10.5);
    EXPECT_EQ(outs(*k), (std::vector<double>{10.5, 9.5}));
    EXPECT_EQ(k->update(candle(at(3, 5), 10, 11, 10, 10)), 11.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{11.0, 10.0}));
    // A failing candle changes nothing.
    EXPECT_FALSE(k->update(candle(at(4, 0), 10, 9, 11, 10)));
    EXPECT_EQ(outs(*k), (std::vector<double>{11.0, 10.0}));
    EXPECT_EQ(k->update(candle(at(3, 6), 10, 10, 7, 10)), 11.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{11.0, 7.0}));
}

TEST(SessionMeasures, SessionRangeSplitsTheDayIntoThirds) {
    auto k = make("SessionRange", {0});
    EXPECT_TRUE(k->outputs().empty());
    // Hours 8-15 only: "asia" and "us" read 0, and "asia" is returned.
    EXPECT_EQ(k->update(candle(at(5, 9), 10, 12, 9, 11)), 0.0);
    EXPECT_EQ(k->update(candle(at(5, 15, 59), 10, 13, 10, 11)), 0.0);
    ASSERT_EQ(k->outputs().size(), 3u);
    EXPECT_EQ(k->outputs()[0].name, "asia");
    EXPECT_EQ(k->outputs()[1].name, "eu");
    EXPECT_EQ(k->outputs()[2].name, "us");
    EXPECT_EQ(outs(*k), (std::vector<double>{0.0, 4.0, 0.0}));
    EXPECT_EQ(k->update(candle(at(5, 16), 10, 10.5, 10, 10)), 0.0);
    EXPECT_EQ(k->update(candle(at(5, 7), 10, 11, 9.75, 10)), 1.25);  // same day, hour 7
    EXPECT_EQ(outs(*k), (std::vector<double>{1.25, 4.0, 0.5}));
    // Time -1 is 1969-12-31 at hour 23: a new session, in the "us" third.
    EXPECT_EQ(k->update(candle(-1, 10, 12, 10, 11)), 0.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{0.0, 0.0, 2.0}));
}

TEST(SessionMeasures, SessionVwapResetsEachDay) {
    auto k = make("SessionVwap", {0});
    // Without volume the candle's own typical price: ((12 + 9) + 12) / 3 = 11.
    EXPECT_EQ(k->update(candle(at(1, 1), 10, 12, 9, 12, 0)), 11.0);
    EXPECT_EQ(k->update(candle(at(1, 2), 10, 12, 6, 9, 0)), 9.0);
    EXPECT_EQ(k->update(candle(at(1, 3), 10, 12, 9, 12, 2)), 11.0);
    EXPECT_EQ(k->update(candle(at(1, 4), 10, 12, 6, 9, 1)), 31.0 / 3.0);  // (22 + 9) / 3
    // A new day drops the sums.
    EXPECT_EQ(k->update(candle(at(2, 0), 10, 12, 6, 9, 4)), 9.0);
}

TEST(SessionMeasures, OvernightGapFromTheSecondSessionOn) {
    const std::vector<FeedSnapshot> bars = {
        candle(at(0, 1), 9, 10, 7, 10), candle(at(0, 5), 10, 10, 8, 8),  // first day: nothing
        candle(at(1, 1), 10, 12, 10, 11), candle(at(1, 3), 11, 12, 0, 0),  // 10 / 8 - 1
        candle(at(2, 0), 5, 6, 5, 6),                                      // after a close of 0: exactly 0
        candle(at(3, 0), 3, 3, 3, 3)};                                     // 3 / 6 - 1
    EXPECT_EQ(run("OvernightGap", {0}, bars), (Values{std::nullopt, std::nullopt, 0.25, 0.25, 0.0, -0.5}));
}

TEST(SessionMeasures, OvernightIntradayReturn) {
    auto k = make("OvernightIntradayReturn", {0});
    EXPECT_FALSE(k->update(candle(at(0, 1), 9, 10, 7, 10)));
    EXPECT_FALSE(k->update(candle(at(0, 5), 10, 10, 8, 8)));
    EXPECT_TRUE(k->outputs().empty());
    EXPECT_EQ(k->update(candle(at(1, 1), 10, 12, 10, 11)), 0.25);
    ASSERT_EQ(k->outputs().size(), 2u);
    EXPECT_EQ(k->outputs()[0].name, "overnight");
    EXPECT_EQ(k->outputs()[1].name, "intraday");
    EXPECT_EQ(outs(*k), (std::vector<double>{0.25, 0.10000000000000009}));  // 11 / 10 - 1
    EXPECT_EQ(k->update(candle(at(1, 3), 11, 12, 11, 12)), 0.25);
    EXPECT_EQ(outs(*k), (std::vector<double>{0.25, 0.19999999999999996}));  // against the session open 10
    EXPECT_EQ(k->update(candle(at(2, 0), 0, 6, 0, 6)), -1.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{-1.0, 0.0}));  // a session open of 0 gives 0
}

TEST(SessionMeasures, TurnOfMonthBooksFinishedDaysInItsWindow) {
    // first_days 0, last_days 1: only the last day of a month. 1900-02-27 is day
    // -25510; February 1900 has 28 days, so Feb 28 (11 / 10 - 1) is booked at the
    // first candle of Mar 1, and Mar 1 itself is not.
    std::vector<FeedSnapshot> y1900;
    const double closes[] = {10, 11, 12, 13};
    for (int i = 0; i < 4; ++i) y1900.push_back(closing(at(-25510 + i, 12), closes[i]));
    EXPECT_EQ(run("TurnOfMonth", {0, 1, 0}, y1900),
              (Values{std::nullopt, std::nullopt, 0.10000000000000009, 0.10000000000000009}));
    // In 2000 (day 11014 is Feb 27) Feb 28 is not the last day; Feb 29 is (12 / 11 - 1).
    std::vector<FeedSnapshot> y2000;
    for (int i = 0; i < 4; ++i) y2000.push_back(closing(at(11014 + i, 12), closes[i]));
    EXPECT_EQ(run("TurnOfMonth", {0, 1, 0}, y2000), (Values{std::nullopt, std::nullopt, std::nullopt, 0.09090909090909083}));
    // last_days beyond the month's length books every day: the mean of the two returns.
    std::vector<FeedSnapshot> any;
    for (int i = 0; i < 4; ++i) any.push_back(closing(at(100 + i, 12), closes[i]));
    EXPECT_EQ(run("TurnOfMonth", {0, 40, 0}, any),
              (Values{std::nullopt, std::nullopt, 0.10000000000000009, 0.09545454545454546}));
    // The day's last close counts, not its first.
    std::vector<FeedSnapshot> intraday = {closing(at(100, 1), 10), closing(at(101, 1), 50), closing(at(101, 2), 11),
                                          closing(at(102, 1), 12)};
    EXPECT_EQ(run("TurnOfMonth", {0, 40, 0}, intraday), (Values{std::nullopt, std::nullopt, std::nullopt, 0.10000000000000009}));
}

TEST(SessionMeasures, SeasonalZScoreScoresEachHourAgainstItsOwnHistory) {
    // Hour 0 returns 1 and 0 (mean 0.5, sample variance 0.5); a return in hour 1 has
    // no history; the next hour-0 return 1.5 scores 1 / sqrt(0.5).
    EXPECT_EQ(run("SeasonalZScore", {0},
                  {closing(at(0, 0), 1), closing(at(1, 0), 2), closing(at(2, 0), 2), closing(at(2, 1), 2),
                   closing(at(3, 0), 5)}),
              (Values{std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1.414213562373095}));
    // Two equal returns leave a variance of 0: the third scores 0.
    EXPECT_EQ(run("SeasonalZScore", {0},
                  {closing(at(0, 0), 1), closing(at(1, 0), 2), closing(at(2, 0), 4), closing(at(3, 0), 8)}),
              (Values{std::nullopt, std::nullopt, std::nullopt, 0.0}));
    // The offset moves candles between hours: at +30 minutes 00:40 and 01:10 share hour 1.
    const std::vector<FeedSnapshot> shifted = {closing(at(0, 0, 40), 1), closing(at(0, 1, 10), 2), closing(at(1, 0, 40), 2),
                                               closing(at(1, 1, 10), 5)};
    EXPECT_EQ(run("SeasonalZScore", {30}, shifted), (Values{std::nullopt, std::nullopt, std::nullopt, 1.414213562373095}));
    EXPECT_EQ(run("SeasonalZScore", {0}, shifted), (Values{std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
}

TEST(SessionMeasures, OpeningRangeFreezesAfterItsBars) {
    auto k = make("OpeningRange", {3});
    EXPECT_EQ(k->update(candle(0, 10, 12, 8, 10)), 12.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{12.0, 8.0, 0.0}));
    EXPECT_EQ(k->update(candle(0, 10, 13, 9, 11)), 13.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{13.0, 8.0, 0.5}));
    EXPECT_FALSE(k->update(candle(0, 10, 20, 30, 10)));  // fails the checks, not counted
    EXPECT_EQ(k->update(candle(0, 10, 11, 7, 8)), 13.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{13.0, 7.0, -2.0}));
    // The fourth candle's high above the range moves only the breakout distance.
    EXPECT_EQ(k->update(candle(0, 10, 20, 10, 19)), 13.0);
    EXPECT_EQ(outs(*k), (std::vector<double>{13.0, 7.0, 9.0}));
    ASSERT_EQ(k->outputs().size(), 3u);
    EXPECT_EQ(k->outputs()[2].name, "breakout_distance");
    // The midpoint halves first when the sum would overflow.
    auto big = make("OpeningRange", {1});
    big->update(candle(0, 1e308, 1.5e308, 1e308, 1e308));
    EXPECT_EQ(outs(*big)[2], 1e308 - (1.5e308 * 0.5 + 1e308 * 0.5));
}

TEST(SessionMeasures, InitialBalanceUsesNoTime) {
    auto k = make("InitialBalance", {2});
    EXPECT_EQ(k->update(candle(at(9, 1), 10, 12, 8, 10)), 12.0);
    EXPECT_EQ(k->update(candle(at(1, 1), 10, 11, 7, 10)), 12.0);
    EXPECT_EQ(k->update(candle(at(1, 2), 10, 30, 1, 10)), 12.0);
    ASSERT_EQ(k->outputs().size(), 2u);
    EXPECT_EQ(k->outputs()[0].name, "high");
    EXPECT_EQ(k->outputs()[1].name, "low");
    EXPECT_EQ(outs(*k), (std::vector<double>{12.0, 7.0}));
}

TEST(SessionMeasures, FailingCandlesChangeNoSession) {
    // A failing candle dated on another day must not start a session.
    auto gap = make("OvernightGap", {0});
    gap->update(candle(at(0, 1), 10, 10, 10, 10));
    EXPECT_FALSE(gap->update(candle(at(1, 1), 10, 10, 10, NAN)));
    EXPECT_FALSE(gap->update(candle(at(0, 2), 8, 8, 8, 8)));  // still the first session
    EXPECT_EQ(gap->update(candle(at(1, 2), 12, 12, 12, 12)), 0.5);
    auto vwap = make("SessionVwap", {0});
    vwap->update(candle(at(0, 1), 10, 10, 10, 10, 1));
    EXPECT_FALSE(vwap->update(candle(at(1, 1), 10, 10, 10, 10, -1)));
    EXPECT_EQ(vwap->update(candle(at(0, 2), 16, 16, 16, 16, 1)), 13.0);
}
