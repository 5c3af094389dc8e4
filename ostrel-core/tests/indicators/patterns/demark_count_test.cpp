// The DeMark setup and countdown counts on hand-built candle runs.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
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

// A bar closing at c, with its low `below` under the close and its high half a
// point above it.
FeedSnapshot at(double c, double below = 0.25) { return bar(c, c + 0.5, c - below, c); }

// n bars closing one point lower each time, from `first`.
std::vector<FeedSnapshot> falling(double first, int n, double below = 0.25) {
    std::vector<FeedSnapshot> v;
    for (int i = 0; i < n; ++i) v.push_back(at(first - i, below));
    return v;
}

const FeedSnapshot kInvalid = bar(10, 9, 11, 10);  // high below low

}  // namespace

TEST(DemarkCount, SetupComparesWithTheCloseLookbackBarsBack) {
    for (auto [close, want] : {std::pair{9.5, 1.0}, {10.5, -1.0}, {10.0, 0.0}}) {
        auto ind = make("TdSetup", {4, 9});
        Values v = feed(*ind, {at(10), at(20), at(30), at(40), at(close)});
        EXPECT_EQ(v, (Values{std::nullopt, std::nullopt, std::nullopt, std::nullopt, want})) << close;
    }
}

TEST(DemarkCount, SetupStopsAtItsLengthAndRestartsAfterAnEqualClose) {
    auto ind = make("TdSetup", {4, 9});
    Values v = feed(*ind, falling(100, 16));
    EXPECT_EQ(v, (Values{std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9}));
    // Closes four, three, two and one bar back: 88, 87, 86, 85. An equal close ends
    // the run, the next lower one starts again at 1, a higher one counts the other way.
    EXPECT_EQ(ind->update(at(88)), 0.0);
    EXPECT_EQ(ind->update(at(86)), 1.0);  // against 87
    EXPECT_EQ(ind->update(at(87)), -1.0);  // against 86
    EXPECT_EQ(ind->update(at(86)), -2.0);  // against 85
}

TEST(DemarkCount, SequentialCountsFromTheBarThatCompletesTheSetup) {
    // Four warm-up bars, then nine lower closes; every close is at or below the low
    // two bars back (lows a quarter under closes that fall a point a bar).
    auto ind = make("TdSequential", {4, 9, 2, 13});
    Values v = feed(*ind, falling(100, 12));
    EXPECT_EQ(v.back(), 8.0);
    EXPECT_EQ(outs(*ind), (std::vector<double>{8, 0, 0}));
    EXPECT_EQ(ind->update(at(87)), 9.0);
    EXPECT_EQ(outs(*ind), (std::vector<double>{9, 1, 1}));
    EXPECT_EQ(ind->update(at(86)), 9.0);
    EXPECT_EQ(outs(*ind), (std::vector<double>{9, 2, 1}));

    // With lows three points under the closes, no close reaches the low two bars back.
    auto wide = make("TdSequential", {4, 9, 2, 13});
    feed(*wide, falling(100, 13, 3.0));
    EXPECT_EQ(outs(*wide), (std::vector<double>{9, 0, 1}));
}

// Setup lookback 1 and length 3, countdown lookback 1 and length 6: the level is the
// close of countdown bar 1, and bar 6 needs a low at or below it.
std::vector<FeedSnapshot> buy_countdown_to_five() {
    return {bar(100, 101, 99, 100),       bar(99.5, 100, 98, 98.5),  bar(98.5, 99, 97, 97.5),
            bar(97.5, 98, 96, 96.5),      // setup 3: buy direction, countdown 1, level 96.5
            bar(96.5, 97, 95, 95.5),      bar(95.5, 96, 94, 94.5),   bar(94.5, 95, 93, 93.5),
            bar(93.5, 94, 92, 92.5)};     // countdown 5
}

TEST(DemarkCount, TheFinalCountWaitsForALowAtOrBelowTheLevel) {
    for (const char* kind : {"TdSequential", "TdCountdown"}) {
        auto ind = make(kind, {1, 3, 1, 6});
        Values v = feed(*ind, buy_countdown_to_five());
        const bool seq = std::string(kind) == "TdSequential";
        EXPECT_EQ(v.back(), seq ? 3.0 : 5.0) << kind;
        // A jump up: a sell setup bar, no countdown bar.
        EXPECT_EQ(ind->update(bar(97, 98, 97, 97.5)), seq ? -1.0 : 5.0) << kind;
        // Closes at the low one bar back, but its low 96.75 is above the level 96.5.
        EXPECT_EQ(ind->update(bar(97.5, 98, 96.75, 97)), seq ? 1.0 : 5.0) << kind;
        // Qualifies and its low 96 reaches the level: the final count.
        EXPECT_EQ(ind->update(bar(96.75, 97, 96, 96.25)), seq ? 2.0 : 6.0) << kind;
        if (seq) EXPECT_EQ(outs(*ind), (std::vector<double>{2, 6, 1}));
        // A further qualifying bar and a further completed buy setup leave it at 6.
        EXPECT_EQ(ind->update(bar(96, 96.5, 95, 95.5)), seq ? 3.0 : 6.0) << kind;
        EXPECT_EQ(ind->update(bar(95.5, 96, 94, 94.5)), seq ? 3.0 : 6.0) << kind;
    }
}

TEST(DemarkCount, BelowSixTheFinalCountNeedsNoLevel) {
    // Length 5: the level is never set, so the fifth qualifying bar counts at once.
    auto ind = make("TdCountdown", {1, 3, 1, 5});
    Values v = feed(*ind, buy_countdown_to_five());
    EXPECT_EQ(v, (Values{std::nullopt, 0, 0, 1, 2, 3, 4, 5}));
}

TEST(DemarkCount, AnOppositeSetupRestartsTheCountdown) {
    auto continue_with = [](const FeedSnapshot& third) {
        auto ind = make("TdSequential", {1, 3, 1, 6});
        feed(*ind, buy_countdown_to_five());
        ind->update(bar(92.5, 93.5, 92.25, 93));  // sell setup 1
        ind->update(bar(93, 94, 92.75, 93.5));    // sell setup 2
        ind->update(third);                        // sell setup 3
        return outs(*ind);
    };
    // Closes at or above the high one bar back: the same bar is sell countdown bar 1.
    EXPECT_EQ(continue_with(bar(93.5, 94.5, 93.25, 94.25)), (std::vector<double>{-3, -1, -1}));
    // Closes below that high: the countdown is 0, a positive zero.
    auto o = continue_with(bar(93.5, 94, 93.25, 93.75));
    ASSERT_EQ(o.size(), 3u);
    EXPECT_EQ(o[0], -3.0);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(o[1]), std::bit_cast<std::uint64_t>(0.0));
    EXPECT_EQ(o[2], -1.0);
}

TEST(DemarkCount, ComboNeedsAStrictlyLowerClose) {
    // Setup lookback and length 1: every lower close completes a buy setup.
    std::vector<FeedSnapshot> bars = {
        bar(100, 101, 99, 100),
        bar(99, 99.5, 98.5, 98.5),   // combo bar 1; its low equals its close
        bar(98.5, 98.5, 98, 98.5),   // close equal to the previous one and to its low
        bar(98.5, 98.5, 97.5, 97.5), // lower close, low and close at or below 98
    };
    EXPECT_EQ(feed(*make("TdCombo", {1, 1, 1, 5}), bars), (Values{std::nullopt, 1, 1, 2}));
    // The sequential countdown takes the equal close: it is at the low one bar back.
    EXPECT_EQ(feed(*make("TdCountdown", {1, 1, 1, 5}), bars), (Values{std::nullopt, 1, 2, 3}));
    // Countdown lookback 2: a lower close at the low two bars back whose own low stays
    // above the previous low is no combo bar, but a sequential one.
    std::vector<FeedSnapshot> inside = {bar(100, 101, 99, 100), bar(100, 100.5, 97, 99.5),
                                        bar(99, 99.25, 98.75, 99)};
    EXPECT_EQ(feed(*make("TdCombo", {1, 1, 2, 5}), inside), (Values{std::nullopt, std::nullopt, 0}));
    EXPECT_EQ(feed(*make("TdCountdown", {1, 1, 2, 5}), inside), (Values{std::nullopt, std::nullopt, 1}));
}

TEST(DemarkCount, AnInvalidCandleChangesNoCount) {
    std::vector<FeedSnapshot> bars = buy_countdown_to_five();
    for (const char* kind : {"TdSequential", "TdCountdown", "TdCombo", "TdSetup"}) {
        std::vector<double> params = std::string(kind) == "TdSetup" ? std::vector<double>{1, 3}
                                                                     : std::vector<double>{1, 3, 1, 6};
        auto clean = make(kind, params);
        auto dirty = make(kind, params);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            auto want = clean->update(bars[i]);
            if (i == 5) {
                auto before = outs(*dirty);
                EXPECT_FALSE(dirty->update(kInvalid).has_value()) << kind;
                EXPECT_FALSE(dirty->update(bar(NAN, 1, 1, 1)).has_value()) << kind;
                EXPECT_EQ(outs(*dirty), before) << kind;
            }
            EXPECT_EQ(dirty->update(bars[i]), want) << kind << " bar " << i;
            EXPECT_EQ(outs(*dirty), outs(*clean)) << kind << " bar " << i;
        }
    }
}
