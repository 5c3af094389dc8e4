// Volume and money-flow lines: construction, warm-ups, named outputs, the guarded
// divisions and the first-candle rules, with values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::bar;
using candlefam::flat;
using candlefam::make;
using candlefam::reason;
using candlefam::Values;
using ostrel::FeedSnapshot;

Values run(const char* kind, const std::vector<FeedSnapshot>& bars, std::vector<double> params = {}) {
    auto ind = make(kind, params);
    if (!ind) return {};
    return candlefam::feed(*ind, bars);
}

const char* const kLines[] = {"Obv",  "Adl",          "Wad",  "AdOscillator", "VolumePriceTrend", "Pvi",
                              "Nvi",  "IntradayIntensity", "Vwap", "AnchoredVwap"};

}  // namespace

TEST(SessionVolume, LinesBuildFromAnyListWithTheirWarmups) {
    const std::size_t warmups[] = {1, 1, 2, 14, 1, 1, 1, 1, 1, 1};
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        for (std::vector<double> p : {std::vector<double>{}, std::vector<double>{NAN, -1.0, 0.5}}) {
            auto ind = make(kLines[i], p);
            ASSERT_TRUE(ind) << kLines[i];
            EXPECT_EQ(ind->warmup_period(), warmups[i]) << kLines[i];
            for (int k = 0; k < 20; ++k) ind->update(bar(10, 12, 8, 10 + k % 3, 5 + k));
            EXPECT_TRUE(ind->outputs().empty()) << kLines[i];
        }
    }
}

TEST(SessionVolume, VolumeWidthConstruction) {
    for (const char* k : {"CandleVolume", "Equivolume"}) {
        EXPECT_EQ(reason(k, {}), "missing parameter #0");
        EXPECT_EQ(reason(k, {0}), "parameter #0 must be a positive integer, got 0");
        EXPECT_EQ(reason(k, {1e-20}), candlefam::kZero);
        EXPECT_EQ(reason(k, {16777217}), candlefam::kMax);
        EXPECT_EQ(reason(k, {16777216}), "built");
        EXPECT_EQ(make(k, {7})->warmup_period(), 7u);
    }
}

TEST(SessionVolume, ObvAndVolumePriceTrendStartAtZero) {
    EXPECT_EQ(run("Obv", {flat(10, 100), flat(11, 200), flat(10.5, 50), flat(10.5, 70)}),
              (Values{0.0, 200.0, 150.0, 150.0}));
    // A previous close of 0 gives a ratio of 0: (3 - 0) / 0 is never formed.
    EXPECT_EQ(run("VolumePriceTrend", {flat(10, 5), flat(0, 5), flat(3, 7), bar(3, 4, 3, 3.3, 10)}),
              (Values{0.0, -5.0, -5.0, -4.000000000000001}));
}

TEST(SessionVolume, AdlWeighsVolumeByTheCloseInItsRange) {
    // (11 - 8) - (12 - 11) = 2 over a range of 4, times 10; a flat candle adds nothing.
    EXPECT_EQ(run("Adl", {bar(10, 12, 8, 11, 10), flat(5, 10), bar(10, 12, 8, 9, 4)}), (Values{5.0, 5.0, 3.0}));
}

TEST(SessionVolume, WadLearnsTheFirstCloseAndBoundsMovesByIt) {
    // Rise from 10 to 11 with low 9.5: 11 - min(9.5, 10); fall to 10.2 with high 11.5:
    // 10.2 - max(11.5, 11); an unchanged close adds nothing.
    EXPECT_EQ(run("Wad", {flat(10), bar(10, 11, 9.5, 11), bar(11, 11.5, 10, 10.2), bar(10, 10.2, 10, 10.2)}),
              (Values{std::nullopt, 1.5, 0.1999999999999993, 0.1999999999999993}));
}

TEST(SessionVolume, AdOscillatorFirstValueOnTheFourteenthCandle) {
    // Closes 1..14 rising by 1 on flat candles: totals 1..13 from the second candle;
    // the 14th compares 13 with the mean 7 of the thirteen totals.
    std::vector<FeedSnapshot> bars;
    for (int i = 1; i <= 14; ++i) bars.push_back(flat(i));
    Values want(13, std::nullopt);
    want.push_back(6.0);
    EXPECT_EQ(run("AdOscillator", bars), want);
}

TEST(SessionVolume, VolumeIndexesMoveOnlyWithTheirVolumeDirection) {
    // Pvi: rising volume moves it, equal volume does not, a previous close of 0 leaves it.
    EXPECT_EQ(run("Pvi", {flat(10, 5), flat(11, 6), flat(12, 6), flat(0, 3), flat(5, 9), flat(4, 10)}),
              (Values{1000.0, 1100.0, 1100.0, 1100.0, 1100.0, 880.0}));
    EXPECT_EQ(run("Nvi", {flat(10, 5), flat(11, 4), flat(12, 4), flat(0, 6), flat(5, 2), flat(4, 1)}),
              (Values{1000.0, 1100.0, 1100.0, 1100.0, 1100.0, 880.0}));
    EXPECT_EQ(run("Pvi", {flat(10, 5), flat(20, 4)}), (Values{1000.0, 1000.0}));
    EXPECT_EQ(run("Nvi", {flat(10, 5), flat(20, 6)}), (Values{1000.0, 1000.0}));
}

TEST(SessionVolume, IntradayIntensitySignAndZeroRange) {
    EXPECT_EQ(run("IntradayIntensity", {bar(10, 12, 8, 11, 10), bar(10, 12, 8, 9, 10), bar(10, 12, 8, 10, 10),
                                        flat(5, 10)}),
              (Values{5.0, -5.0, 0.0, 0.0}));
}

TEST(SessionVolume, VwapWaitsForVolumeThenWeighsEveryCandleSinceConstruction) {
    const std::vector<FeedSnapshot> bars = {bar(10, 12, 8, 11, 0), bar(10, 12, 8, 11, 0), bar(10, 13, 8, 12, 2),
                                            bar(10, 11, 8, 9, 1)};
    // Typical prices 11 (twice, without volume), 11 and 28/3.
    const Values want = {std::nullopt, std::nullopt, 11.0, 10.444444444444445};
    EXPECT_EQ(run("Vwap", bars), want);
    EXPECT_EQ(run("AnchoredVwap", bars), want);
}

TEST(SessionVolume, VolumeWidthOutputs) {
    const std::vector<FeedSnapshot> bars = {bar(10, 12, 8, 11, 0), bar(10, 12, 8, 9, 0), bar(10, 12, 8, 9, 30),
                                            bar(10, 13, 8, 12, 10)};
    auto cv = make("CandleVolume", {2});
    auto ev = make("Equivolume", {2});
    EXPECT_FALSE(cv->update(bars[0]));
    EXPECT_FALSE(ev->update(bars[0]));
    EXPECT_TRUE(cv->outputs().empty());
    EXPECT_TRUE(ev->outputs().empty());
    // Average volume 0: width 0.
    EXPECT_EQ(cv->update(bars[1]), -1.0);
    EXPECT_EQ(ev->update(bars[1]), 4.0);
    EXPECT_EQ(ev->outputs()[1].value, 0.0);
    EXPECT_EQ(cv->update(bars[2]), -1.0);  // 30 over the mean 15
    EXPECT_EQ(cv->outputs()[1].value, 2.0);
    ev->update(bars[2]);
    EXPECT_EQ(cv->update(bars[3]), 2.0);  // 10 over the mean 20
    EXPECT_EQ(ev->update(bars[3]), 5.0);
    ASSERT_EQ(cv->outputs().size(), 2u);
    EXPECT_EQ(cv->outputs()[0].name, "body");
    EXPECT_EQ(cv->outputs()[1].name, "width");
    EXPECT_EQ(cv->outputs()[1].value, 0.5);
    ASSERT_EQ(ev->outputs().size(), 2u);
    EXPECT_EQ(ev->outputs()[0].name, "height");
    EXPECT_EQ(ev->outputs()[0].value, 5.0);
    EXPECT_EQ(ev->outputs()[1].name, "width");
    // A failing candle keeps the outputs and the average as they were.
    EXPECT_FALSE(ev->update(bar(10, 8, 12, 10, 1)));
    EXPECT_EQ(ev->outputs()[0].value, 5.0);
    EXPECT_EQ(ev->update(bar(10, 13, 8, 12, 10)), 5.0);
    EXPECT_EQ(ev->outputs()[1].value, 1.0);
}

TEST(SessionVolume, FailingCandlesLeaveEveryLineUnchanged) {
    const FeedSnapshot bad[] = {bar(NAN, 12, 8, 10), bar(10, 12, 8, 10, INFINITY), bar(10, 12, 8, 10, -1),
                                bar(10, 8, 12, 10), bar(13, 12, 8, 10), bar(10, 12, 8, 7)};
    const std::vector<FeedSnapshot> good = {bar(10, 12, 8, 11, 10), bar(11, 13, 9, 10, 30), bar(10, 12, 9, 12, 5),
                                            bar(12, 12, 10, 11, 40)};
    for (const char* k : kLines) {
        std::vector<FeedSnapshot> mixed;
        for (std::size_t i = 0; i < good.size(); ++i) {
            mixed.push_back(good[i]);
            for (const auto& b : bad) mixed.push_back(b);
        }
        const Values clean = run(k, good);
        const Values dirty = run(k, mixed);
        for (std::size_t i = 0; i < good.size(); ++i) {
            EXPECT_EQ(dirty[i * (1 + std::size(bad))], clean[i]) << k << " at " << i;
            for (std::size_t j = 1; j <= std::size(bad); ++j) EXPECT_FALSE(dirty[i * (1 + std::size(bad)) + j]) << k;
        }
    }
}

TEST(SessionVolume, NegativeZeroVolumeIsAccepted) {
    EXPECT_EQ(run("Obv", {flat(10, 5), flat(11, -0.0)}), (Values{0.0, 0.0}));
    EXPECT_EQ(run("Vwap", {bar(10, 12, 8, 10, -0.0), bar(10, 12, 8, 10, 3)}), (Values{std::nullopt, 10.0}));
}
