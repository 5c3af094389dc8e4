// The DeMark lines, risk levels and range projection on hand-built candles.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::bar;
using candlefam::feed;
using candlefam::make;
using candlefam::outs;
using candlefam::Values;
using ostrel::FeedSnapshot;
using ostrel::Indicator;

constexpr auto N = std::nullopt;

FeedSnapshot at(double c, double high) { return bar(c, high, c - 0.25, c); }

}  // namespace

TEST(DemarkLevel, ResistanceComesWithTheNinthBarOfADownRun) {
    auto ind = make("TdLines", {4, 9});
    // Four warm-up bars, then closes 96 down to 88; the third of them reaches 99.
    std::vector<FeedSnapshot> bars = {at(100, 100.5), at(99, 99.5), at(98, 98.5), at(97, 97.5)};
    for (int i = 0; i < 9; ++i) bars.push_back(at(96 - i, i == 2 ? 99 : 96.5 - i));
    Values v = feed(*ind, bars);
    EXPECT_EQ(v, (Values{N, N, N, N, N, N, N, N, N, N, N, N, 99.0}));
    auto o = outs(*ind);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_EQ(o[0], 99.0);
    EXPECT_TRUE(std::isnan(o[1]));

    // A tenth lower close with a higher high moves the line up to it.
    EXPECT_EQ(ind->update(at(87, 100)), 100.0);
    // A close equal to the close four bars back (90) ends the run; the line stays,
    // and so does it on a lower close that starts a new run.
    EXPECT_EQ(ind->update(at(90, 90.5)), 100.0);
    EXPECT_EQ(ind->update(at(88, 88.5)), 100.0);
    // An invalid candle changes nothing.
    EXPECT_FALSE(ind->update(bar(1, 0, 2, 1)).has_value());
    EXPECT_EQ(outs(*ind)[0], 100.0);
}

TEST(DemarkLevel, SupportComesWithACompletedUpRun) {
    auto ind = make("TdLines", {1, 2});
    // Lows 9, 10.5, 10.25: the up run of two bars has its lowest low at 10.25.
    Values v = feed(*ind, {bar(10, 11, 9, 10), bar(10.75, 11.5, 10.5, 11), bar(11, 12.5, 10.25, 12)});
    EXPECT_EQ(v.size(), 3u);
    EXPECT_FALSE(v[1].has_value());
    ASSERT_TRUE(v[2].has_value());
    EXPECT_TRUE(std::isnan(*v[2]));  // the value is the resistance, never set
    EXPECT_EQ(outs(*ind)[1], 10.25);
}

TEST(DemarkLevel, RiskLevelTakesTheTrueRangeAgainstTheWarmUpClose) {
    // The first candle is only recorded; the second's true range reaches back to its
    // close: max(1.5, |9 - 11.5|, |7.5 - 11.5|) = 4, so the buy risk is 7.5 - 4.
    auto ind = make("TdRiskLevel", {1, 1});
    EXPECT_EQ(feed(*ind, {bar(11, 12, 9, 11.5), bar(8, 9, 7.5, 8)}), (Values{N, 3.5}));
    auto o = outs(*ind);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_EQ(o[0], 3.5);
    EXPECT_TRUE(std::isnan(o[1]));
    // An up run: the high 10 plus its true range max(1.5, |10 - 8|, |8.5 - 8|) = 2.
    EXPECT_EQ(ind->update(bar(8.5, 10, 8.5, 9.5)), 3.5);
    EXPECT_EQ(outs(*ind)[1], 12.0);
}

TEST(DemarkLevel, OnEqualLowsTheEarlierBarKeepsTheRiskLevel) {
    auto ind = make("TdRiskLevel", {1, 3});
    Values v = feed(*ind, {
                              bar(20, 21, 19, 20),
                              bar(19, 19.5, 17, 18),         // low 17, true range 3
                              bar(18, 18.5, 17, 17.5),       // low 17 again, true range 1.5
                              bar(17.5, 18, 17.25, 17.25),   // third bar of the run
                          });
    EXPECT_EQ(v, (Values{N, N, N, 14.0}));
    // A strictly lower low takes over: 16 less max(1.5, |17.5 - 17.25|, |16 - 17.25|).
    EXPECT_EQ(ind->update(bar(17, 17.5, 16, 17)), 14.5);
    // An invalid candle does not become the previous one.
    EXPECT_FALSE(ind->update(bar(100, 101, 99, 100, NAN)).has_value());
    // Against the previous close 17: max(1, |16.5 - 17|, |15.5 - 17|) = 1.5.
    EXPECT_EQ(ind->update(bar(16, 16.5, 15.5, 16)), 14.0);
}

TEST(DemarkLevel, RangeProjectionWeighsTheSideTheBarClosedTowards) {
    auto ind = make("TdRangeProjection", {});
    auto check = [&](FeedSnapshot b, double high, double low) {
        EXPECT_EQ(ind->update(b), high);
        auto o = outs(*ind);
        ASSERT_EQ(o.size(), 2u);
        EXPECT_EQ(o[0], high);
        EXPECT_EQ(o[1], low);
    };
    check(bar(10, 12, 9, 11), 13, 10);     // close above open: (11 + 24 + 9) / 2
    check(bar(11, 12, 9, 10), 11, 8);      // close below open: (10 + 12 + 18) / 2
    check(bar(10, 12, 9, 10), 11.5, 8.5);  // close at open: (21 + 20) / 2
    EXPECT_FALSE(ind->update(bar(10, 9, 12, 10)).has_value());
    EXPECT_EQ(outs(*ind)[0], 11.5);
}
