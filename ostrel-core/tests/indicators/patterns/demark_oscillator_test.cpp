// The DeMark oscillators, averages and wave count on hand-built candles.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::bar;
using candlefam::feed;
using candlefam::make;
using candlefam::Values;
using ostrel::FeedSnapshot;

constexpr auto N = std::nullopt;

// A bar centred on m, one point either side, open and close at m.
FeedSnapshot around(double m) { return bar(m, m + 1, m - 1, m); }

std::vector<FeedSnapshot> around_all(const std::vector<double>& mids) {
    std::vector<FeedSnapshot> v;
    for (double m : mids) v.push_back(around(m));
    return v;
}

const FeedSnapshot kInvalid = bar(10, 12, 9, 11, -1.0);  // negative volume

}  // namespace

TEST(DemarkOscillator, DeMarkerIsOneHalfWhenNothingMoves) {
    auto ind = make("TdDeMarker", {3});
    EXPECT_EQ(feed(*ind, {around(10), around(10), around(10), around(10), around(10)}),
              (Values{N, N, N, 0.5, 0.5}));
}

TEST(DemarkOscillator, DeMarkerWeighsUpwardAgainstDownwardExtensions) {
    // Highs 10, 12, 11, 14 and lows 8, 9, 6, 7: DeMax 2, 0, 3 and DeMin 0, 3, 0, so
    // a = 5/3 and b = 3/3: 5/3 / (5/3 + 1).
    auto ind = make("TdDeMarker", {3});
    Values v = feed(*ind, {bar(9, 10, 8, 9), bar(10, 12, 9, 11), kInvalid, bar(10, 11, 6, 7), bar(12, 14, 7, 13)});
    EXPECT_EQ(v, (Values{N, N, N, N, (5.0 / 3.0) / (5.0 / 3.0 + 3.0 / 3.0)}));
}

TEST(DemarkOscillator, PressureOfZeroVolumeAndOfFlatBars) {
    auto quiet = make("TdPressure", {2});
    EXPECT_EQ(feed(*quiet, {bar(10, 12, 8, 11, 0), bar(11, 12, 8, 9, 0)}), (Values{N, 0.0}));
    // A bar with high equal to low adds no pressure but its volume counts:
    // terms 100 * (1 / 4) and 0, mean volume 200: (25 / 2) * 100 / 200.
    auto flat = make("TdPressure", {2});
    EXPECT_EQ(feed(*flat, {bar(10, 12, 8, 11, 100), kInvalid, bar(10, 10, 10, 10, 300)}), (Values{N, N, 6.25}));
}

TEST(DemarkOscillator, RangeExpansionIndexAtItsBounds) {
    // Highs and lows rising half a point a bar over a four-point range: each bar
    // overlaps the bars five and six back, so every term counts in full: 100.
    std::vector<FeedSnapshot> slow;
    for (int i = 0; i < 14; ++i) slow.push_back(bar(10 + 0.5 * i, 12 + 0.5 * i, 8 + 0.5 * i, 10 + 0.5 * i));
    auto up = make("TdRei", {5});
    Values v = feed(*up, slow);
    EXPECT_EQ(v, (Values{N, N, N, N, N, N, N, N, N, N, N, N, 100.0, 100.0}));
    // Rising three points a bar over a two-point range: no overlap, so every
    // numerator term is 0 while the denominator is not.
    std::vector<FeedSnapshot> fast;
    for (int i = 0; i < 13; ++i) fast.push_back(bar(10 + 3 * i, 11 + 3 * i, 9 + 3 * i, 10 + 3 * i));
    EXPECT_EQ(feed(*make("TdRei", {5}), fast).back(), 0.0);
    // Nothing moves at all: the denominator is 0 and the index 0.
    EXPECT_EQ(feed(*make("TdRei", {1}), around_all(std::vector<double>(9, 10))).back(), 0.0);
}

TEST(DemarkOscillator, MovingAveragesOfTheMidpoint) {
    auto ind = make("TdMovingAverage", {3, 5});
    // Midpoints 1, 2, 3, 4, 5 (highs and lows one either side).
    Values v = feed(*ind, {around(1), around(2), kInvalid, around(3), around(4), around(5)});
    EXPECT_EQ(v, (Values{N, N, N, N, N, 4.0}));
    auto outs = ind->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].value, 4.0);
    EXPECT_EQ(outs[1].value, 3.0);
    // Extremes near the largest double: halved first, so no overflow.
    auto big = make("TdMovingAverage", {1, 2});
    const double m = 1.7e308;
    EXPECT_EQ(feed(*big, {bar(m, m, m, m), bar(m, m, m, m)}).back(), m);
}

TEST(DemarkOscillator, WaveCountNeedsStrictPivots) {
    // Five flat bars: no strict pivot, so no value.
    auto ind = make("TdDWave", {2});
    EXPECT_EQ(feed(*ind, around_all({5, 5, 5, 5, 5})), (Values{N, N, N, N, N}));
    // A middle high equal to a neighbour's is no swing high.
    EXPECT_EQ(feed(*make("TdDWave", {2}), around_all({0, 1, 2, 2, 0, -1})), (Values{N, N, N, N, N, N}));
    // Peak at bar 2 (wave 1 on bar 4), a dip that is not a strict low, a second peak
    // at bar 6 (seen on bar 8, still 1), then a strict trough at bar 9 (wave 2 on 11).
    EXPECT_EQ(feed(*make("TdDWave", {2}), around_all({0, 1, 3, 1, 2, 1, 3, 1, 0, -1, 0, 1})),
              (Values{N, N, N, N, 1, 1, 1, 1, 1, 1, 1, 2}));
}

TEST(DemarkOscillator, WaveCountWrapsAfterEight) {
    // A zigzag with a pivot every second bar from the fifth on: 1..8, then 1.
    std::vector<double> mids = {0, 1, 2, 1};
    for (int i = 0; i < 9; ++i) {
        mids.push_back(i % 2 == 0 ? 0 : 2);
        mids.push_back(1);
    }
    Values v = feed(*make("TdDWave", {2}), around_all(mids));
    Values want = {N, N, N, N};
    for (double w : {1, 2, 3, 4, 5, 6, 7, 8, 1}) {
        want.push_back(w);
        want.push_back(w);
    }
    want.pop_back();
    v.pop_back();
    EXPECT_EQ(v, want);
}

TEST(DemarkOscillator, AnInvalidCandleLeavesTheWindowsAlone) {
    for (auto [kind, period] : {std::pair{"TdDeMarker", 2.0}, {"TdPressure", 2.0}, {"TdRei", 2.0}, {"TdDWave", 1.0}}) {
        std::vector<FeedSnapshot> bars;
        for (int i = 0; i < 14; ++i) bars.push_back(bar(10 + (i % 3), 12 + (i % 4), 8 + (i % 2), 10 + (i % 3), 50 + i));
        auto clean = make(kind, {period});
        auto dirty = make(kind, {period});
        for (std::size_t i = 0; i < bars.size(); ++i) {
            if (i == 6) EXPECT_FALSE(dirty->update(kInvalid).has_value()) << kind;
            EXPECT_EQ(dirty->update(bars[i]), clean->update(bars[i])) << kind << " bar " << i;
        }
    }
}
