// Heikin-Ashi candles and the candle price transforms: construction, outputs and
// the worked examples, with values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::bar;
using candlefam::flat;
using candlefam::make;
using candlefam::outs;
using candlefam::reason;
using candlefam::Values;
using ostrel::FeedSnapshot;

double one(const char* kind, const FeedSnapshot& b) {
    auto v = make(kind, {})->update(b);
    EXPECT_TRUE(v.has_value()) << kind;
    return v.value_or(NAN);
}

const char* const kTransforms[] = {"AvgPrice", "MedianPrice", "TypicalPrice", "WeightedClose",
                                   "WickRatio", "BodySizePct", "CloseVsOpen"};

}  // namespace

TEST(SessionCandle, HeikinAshiChainsFromItsFirstCandle) {
    auto k = make("HeikinAshi", {NAN});  // takes no parameters
    EXPECT_EQ(k->warmup_period(), 1u);
    EXPECT_TRUE(k->outputs().empty());
    EXPECT_EQ(k->update(bar(10, 12, 9, 11)), 10.5);
    ASSERT_EQ(k->outputs().size(), 4u);
    EXPECT_EQ(k->outputs()[0].name, "open");
    EXPECT_EQ(k->outputs()[1].name, "high");
    EXPECT_EQ(k->outputs()[2].name, "low");
    EXPECT_EQ(k->outputs()[3].name, "close");
    EXPECT_EQ(outs(*k), (std::vector<double>{10.5, 12.0, 9.0, 10.5}));
    // A failing candle is skipped: the chain continues from the last good one.
    EXPECT_FALSE(k->update(bar(11, 10, 12, 11)));
    EXPECT_EQ(outs(*k), (std::vector<double>{10.5, 12.0, 9.0, 10.5}));
    EXPECT_EQ(k->update(flat(11)), 10.5);
    EXPECT_EQ(outs(*k), (std::vector<double>{10.5, 11.0, 10.5, 11.0}));
}

TEST(SessionCandle, SmoothedHeikinAshiConstruction) {
    EXPECT_EQ(reason("SmoothedHeikinAshi", {}), "missing parameter #0");
    EXPECT_EQ(reason("SmoothedHeikinAshi", {0}), "parameter #0 must be a positive integer, got 0");
    EXPECT_EQ(reason("SmoothedHeikinAshi", {1e-20}), candlefam::kZero);
    EXPECT_EQ(reason("SmoothedHeikinAshi", {16777217}), candlefam::kMax);
    EXPECT_EQ(reason("SmoothedHeikinAshi", {16777216}), "built");
    EXPECT_EQ(make("SmoothedHeikinAshi", {5})->warmup_period(), 5u);
}

TEST(SessionCandle, SmoothedHeikinAshiSeedsThenSmooths) {
    auto k = make("SmoothedHeikinAshi", {2});
    EXPECT_FALSE(k->update(bar(10, 12, 9, 11)));
    EXPECT_TRUE(k->outputs().empty());
    // Seeds: open 11, high 13, low 10, close 12; the first open is their midpoint.
    EXPECT_EQ(k->update(bar(12, 14, 11, 13)), 11.5);
    EXPECT_EQ(outs(*k), (std::vector<double>{11.5, 13.0, 10.0, 11.5}));
    // alpha 2/3: open 37/3, high 13, low 10, close 34/3 (each fused); the open chains.
    EXPECT_EQ(k->update(bar(13, 13, 10, 11)), 11.5);
    EXPECT_EQ(outs(*k), (std::vector<double>{11.5, 13.0, 10.0, 11.666666666666668}));
}

TEST(SessionCandle, SmoothedHeikinAshiWarmupAndPeriodOne) {
    const std::vector<FeedSnapshot> bars = {bar(10, 12, 9, 11), bar(11, 11, 11, 11), bar(11, 15, 10, 14),
                                            bar(14, 14, 12, 12.5)};
    auto slow = make("SmoothedHeikinAshi", {3});
    Values got = candlefam::feed(*slow, bars);
    EXPECT_FALSE(got[0]);
    EXPECT_FALSE(got[1]);
    EXPECT_TRUE(got[2]);
    // With period 1 (alpha 1) the averages follow the prices: the plain kind's values.
    auto plain = make("HeikinAshi", {});
    auto unit = make("SmoothedHeikinAshi", {1});
    for (const auto& b : bars) {
        EXPECT_EQ(unit->update(b), plain->update(b));
        EXPECT_EQ(outs(*unit), outs(*plain));
    }
}

TEST(SessionCandle, TransformsBuildFromAnyListWithoutOutputs) {
    for (const char* k : kTransforms) {
        for (std::vector<double> p : {std::vector<double>{}, std::vector<double>{-3.0, INFINITY}}) {
            auto ind = make(k, p);
            ASSERT_TRUE(ind) << k;
            EXPECT_EQ(ind->warmup_period(), 1u) << k;
            ind->update(bar(10, 14, 8, 12));
            EXPECT_TRUE(ind->outputs().empty()) << k;
        }
    }
}

TEST(SessionCandle, TransformsOfTheWorkedCandle) {
    const FeedSnapshot b = bar(10, 14, 8, 12);
    EXPECT_EQ(one("AvgPrice", b), 11.0);
    EXPECT_EQ(one("MedianPrice", b), 11.0);
    EXPECT_EQ(one("TypicalPrice", b), 11.333333333333334);
    EXPECT_EQ(one("WeightedClose", b), 11.5);
    EXPECT_EQ(one("WickRatio", b), 0.0);  // (2 - 2) / 6
    EXPECT_EQ(one("BodySizePct", b), 2.0 / 6.0);
    EXPECT_EQ(one("CloseVsOpen", b), 0.2);
    // Upper wick 3, lower wick 2: positive when the upper one is longer.
    EXPECT_EQ(one("WickRatio", bar(10, 14, 8, 11)), 1.0 / 6.0);
    EXPECT_EQ(one("WickRatio", bar(11, 12, 8, 10)), -0.25);
    EXPECT_EQ(one("WickRatio", bar(10, 14, 10, 14)), 0.0);
    EXPECT_EQ(one("BodySizePct", bar(14, 14, 10, 10)), 1.0);
}

TEST(SessionCandle, TransformsOfDegenerateCandles) {
    const FeedSnapshot f = flat(7.5);
    EXPECT_EQ(one("WickRatio", f), 0.0);
    EXPECT_EQ(one("BodySizePct", f), 0.0);
    for (const char* k : {"AvgPrice", "MedianPrice", "TypicalPrice", "WeightedClose"}) EXPECT_EQ(one(k, f), 7.5) << k;
    EXPECT_EQ(one("CloseVsOpen", bar(0, 5, 0, 5)), 0.0);
    EXPECT_EQ(one("CloseVsOpen", bar(-0.0, 0, -1, -1)), 0.0);
    EXPECT_EQ(one("CloseVsOpen", bar(-2, -1, -3, -1)), -0.5);  // plain quotient with a negative open
    EXPECT_EQ(one("MedianPrice", bar(1.6e308, 1.7e308, 1.6e308, 1.6e308)), 1.6499999999999999e308);
}

TEST(SessionCandle, FailingCandlesYieldNothing) {
    const FeedSnapshot bad[] = {bar(10, 8, 12, 10), bar(NAN, 12, 8, 10), bar(10, 12, 8, 10, -1)};
    for (const char* k : kTransforms) {
        auto ind = make(k, {});
        for (const auto& b : bad) EXPECT_FALSE(ind->update(b)) << k;
    }
    auto sm = make("SmoothedHeikinAshi", {2});
    EXPECT_FALSE(sm->update(bar(10, 12, 9, 11)));
    for (const auto& b : bad) EXPECT_FALSE(sm->update(b));
    EXPECT_EQ(sm->update(bar(12, 14, 11, 13)), 11.5);  // the seed saw only the valid candles
}
