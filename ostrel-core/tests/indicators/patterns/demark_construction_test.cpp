// Construction of the DeMark kinds through the catalogue: parameter reading, the
// order of the checks and their texts, lengths that must be refused rather than
// wrap, and the warm-up each kind reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::kMax;
using candlefam::kZero;
using candlefam::reason;

const std::string kSt1 = "invalid period: TD moving average ST1 period must be strictly less than ST2";
constexpr double kTiny = 1e-20;  // a positive integer to the reader, truncated to 0
constexpr double kHuge = 1e20;   // saturates to 2^64 - 1

std::size_t warmup(std::string_view kind, std::vector<double> params) {
    auto ind = candlefam::make(kind, params);
    return ind ? ind->warmup_period() : 0;
}

}  // namespace

TEST(DemarkConstruction, SinglePeriodKindsCheckZeroThenTheLongestWindow) {
    for (const char* k : {"TdDeMarker", "TdPressure", "TdRei", "TdDWave"}) {
        EXPECT_EQ(reason(k, {kTiny}), kZero) << k;
        EXPECT_EQ(reason(k, {16777217}), kMax) << k;
        EXPECT_EQ(reason(k, {kHuge}), kMax) << k;
        EXPECT_EQ(reason(k, {}), "missing parameter #0") << k;
        EXPECT_EQ(reason(k, {0}), "parameter #0 must be a positive integer, got 0") << k;
        EXPECT_EQ(reason(k, {1, NAN}), "built") << k;  // surplus values are not read
    }
    EXPECT_EQ(warmup("TdDeMarker", {13}), 14u);
    EXPECT_EQ(warmup("TdPressure", {13}), 13u);
    EXPECT_EQ(warmup("TdRei", {5}), 13u);
    EXPECT_EQ(warmup("TdDWave", {3}), 7u);
}

TEST(DemarkConstruction, MovingAverageChecksZeroThenOrderThenLength) {
    EXPECT_EQ(reason("TdMovingAverage", {5, 5}), kSt1);
    EXPECT_EQ(reason("TdMovingAverage", {8, 5}), kSt1);
    EXPECT_EQ(reason("TdMovingAverage", {5, 8}), "built");
    EXPECT_EQ(reason("TdMovingAverage", {3, kTiny}), kZero);  // zero before the order
    EXPECT_EQ(reason("TdMovingAverage", {kTiny, 3}), kZero);
    EXPECT_EQ(reason("TdMovingAverage", {16777218, 16777217}), kSt1);  // order before length
    EXPECT_EQ(reason("TdMovingAverage", {16777217, 16777218}), kMax);
    EXPECT_EQ(reason("TdMovingAverage", {3, kHuge}), kMax);
    EXPECT_EQ(reason("TdMovingAverage", {3}), "missing parameter #1");
    EXPECT_EQ(reason("TdMovingAverage", {NAN}), "parameter #0 must be finite");
    EXPECT_EQ(warmup("TdMovingAverage", {3, 5}), 5u);
}

TEST(DemarkConstruction, CountAndLevelKindsRefuseZeroesThenAnUnallocatableLookback) {
    for (const char* k : {"TdSetup", "TdLines", "TdRiskLevel"}) {
        EXPECT_EQ(reason(k, {kTiny, 9}), kZero) << k;
        EXPECT_EQ(reason(k, {4, kTiny}), kZero) << k;
        EXPECT_EQ(reason(k, {16777217, kTiny}), kZero) << k;  // the kind's own check comes first
        EXPECT_EQ(reason(k, {16777217, 9}), kMax) << k;
        EXPECT_EQ(reason(k, {kHuge, 9}), kMax) << k;        // no wrap of lookback + 1
        EXPECT_EQ(reason(k, {4, kHuge}), "built") << k;     // a length allocates nothing
        EXPECT_EQ(reason(k, {4}), "missing parameter #1") << k;
        EXPECT_EQ(reason(k, {-4, 9}), "parameter #0 must be a positive integer, got -4") << k;
        EXPECT_EQ(warmup(k, {4, 9}), 5u) << k;
    }
}

TEST(DemarkConstruction, SetupAndCountdownKindsShareTheirChecks) {
    for (const char* k : {"TdSequential", "TdCountdown", "TdCombo"}) {
        EXPECT_EQ(reason(k, {4, 9, 2, 13}), "built") << k;
        EXPECT_EQ(reason(k, {kTiny, 9, 2, 13}), kZero) << k;
        EXPECT_EQ(reason(k, {4, kTiny, 2, 13}), kZero) << k;
        EXPECT_EQ(reason(k, {4, 9, kTiny, 13}), kZero) << k;
        EXPECT_EQ(reason(k, {4, 9, 2, kTiny}), kZero) << k;
        EXPECT_EQ(reason(k, {16777217, 9, 2, kTiny}), kZero) << k;
        EXPECT_EQ(reason(k, {16777217, 9, 2, 13}), kMax) << k;
        EXPECT_EQ(reason(k, {4, 9, kHuge, 13}), kMax) << k;  // no wrap of max(lookbacks) + 1
        EXPECT_EQ(reason(k, {4, kHuge, 2, kHuge}), "built") << k;
        EXPECT_EQ(reason(k, {4, 9, 2}), "missing parameter #3") << k;
        EXPECT_EQ(reason(k, {4, 9, 2.5}), "parameter #2 must be a positive integer, got 2.5") << k;
        EXPECT_EQ(warmup(k, {4, 9, 2, 13}), 5u) << k;
        EXPECT_EQ(warmup(k, {2, 9, 6, 13}), 7u) << k;
    }
}

TEST(DemarkConstruction, KindsWithoutParametersBuildFromAnyList) {
    for (const char* k : {"TdRangeProjection", "TdTrap", "TdPropulsion", "TdOpen", "TdDifferential", "TdClopwin",
                          "TdClop", "TdCamouflage"}) {
        EXPECT_EQ(reason(k, {}), "built") << k;
        EXPECT_EQ(reason(k, {NAN, -1}), "built") << k;
    }
    EXPECT_EQ(warmup("TdRangeProjection", {}), 1u);
    EXPECT_EQ(warmup("TdTrap", {}), 3u);
    EXPECT_EQ(warmup("TdDifferential", {}), 3u);
    for (const char* k : {"TdPropulsion", "TdOpen", "TdClopwin", "TdClop", "TdCamouflage"})
        EXPECT_EQ(warmup(k, {}), 2u) << k;
}

TEST(DemarkConstruction, OnlyTheMultiOutputKindsPublishNamedOutputs) {
    const ostrel::FeedSnapshot b = candlefam::bar(10, 12, 9, 11);
    auto names = [&](const char* kind, std::vector<double> params) {
        auto ind = candlefam::make(kind, params);
        std::string s;
        if (!ind) return s;
        EXPECT_TRUE(ind->outputs().empty()) << kind;  // empty before a first value
        for (int i = 0; i < 12; ++i) ind->update(b);
        for (const auto& o : ind->outputs()) s += std::string(o.name) + " ";
        return s;
    };
    EXPECT_EQ(names("TdSequential", {1, 1, 1, 1}), "setup countdown direction ");
    EXPECT_EQ(names("TdMovingAverage", {1, 2}), "st1 st2 ");
    EXPECT_EQ(names("TdRangeProjection", {}), "high low ");
    EXPECT_EQ(names("TdCountdown", {1, 1, 1, 1}), "");
    EXPECT_EQ(names("TdCombo", {1, 1, 1, 1}), "");
    EXPECT_EQ(names("TdSetup", {1, 1}), "");
}
