// The profile kinds read from a volume or count histogram: HighLowVolumeNodes,
// NakedPoc, ProfileShape and SinglePrints. Construction checks in order with their
// texts, the worked edge cases, and a candle series checked against an independent
// model of the binning rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/candle_family_support.hpp"
#include "support/profile_support.hpp"

using namespace ostrel;

namespace {

using candlefam::kMax;
using candlefam::kZero;
using candlefam::make;
using candlefam::reason;
using profile_support::Bar;
using profile_support::kNone;
using profile_support::kSeries;
using profile_support::outs;
using profile_support::snap;

const std::string kBins = "invalid period: profile shape needs bins >= 3";

// Values of a run; kNone where the update gave none.
std::vector<double> run(Indicator& ind, const std::vector<Bar>& bars) {
    std::vector<double> out;
    for (const Bar& b : bars) {
        auto v = ind.update(snap(b));
        out.push_back(v ? *v : kNone);
    }
    return out;
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, std::string_view what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i]))
            EXPECT_TRUE(std::isnan(got[i])) << what << " bar " << i << " gave " << got[i];
        else
            EXPECT_EQ(got[i], want[i]) << what << " bar " << i;
    }
}

// High below low: fails the candle checks.
const Bar kBad = {12.5, 12.0, 13.0, 12.5, 1.0};

// ---- construction ----

TEST(ProfileNodesConstruction, ZeroThenMaxPeriod) {
    for (const char* kind : {"HighLowVolumeNodes", "NakedPoc", "SinglePrints"}) {
        EXPECT_EQ(reason(kind, {20, 24}), "built") << kind;
        EXPECT_EQ(reason(kind, {1, 1}), "built") << kind;
        EXPECT_EQ(reason(kind, {1e-20, 24}), kZero) << kind;
        EXPECT_EQ(reason(kind, {20, 1e-20}), kZero) << kind;
        // Bounded so that the window and histogram allocated at construction are.
        EXPECT_EQ(reason(kind, {16777217, 24}), kMax) << kind;
        EXPECT_EQ(reason(kind, {20, 16777217}), kMax) << kind;
        EXPECT_EQ(reason(kind, {1e300, 1e-20}), kZero) << kind;
        EXPECT_EQ(reason(kind, {20}), "missing parameter #1") << kind;
        EXPECT_EQ(reason(kind, {20, 2.5}), "parameter #1 must be a positive integer, got 2.5") << kind;
    }
}

TEST(ProfileNodesConstruction, ProfileShapeChecksInOrder) {
    EXPECT_EQ(reason("ProfileShape", {20, 3}), "built");
    EXPECT_EQ(reason("ProfileShape", {20, 2}), kBins);
    EXPECT_EQ(reason("ProfileShape", {20, 1e-20}), kBins);  // bins read as 0: the minimum's text
    EXPECT_EQ(reason("ProfileShape", {1e-20, 2}), kZero);
    EXPECT_EQ(reason("ProfileShape", {16777217, 2}), kMax);  // period before bins
    EXPECT_EQ(reason("ProfileShape", {20, 16777217}), kMax);
    EXPECT_EQ(reason("ProfileShape", {1e300, 1e300}), kMax);
}

// ---- HighLowVolumeNodes ----

TEST(HighLowVolumeNodesKind, ZeroVolumeWindowReportsBinZeroTwice) {
    auto ind = make("HighLowVolumeNodes", {2, 4});
    EXPECT_FALSE(ind->update(snap({11, 12, 10, 11, 0})).has_value());
    EXPECT_TRUE(ind->outputs().empty());
    EXPECT_EQ(ind->update(snap({12, 14, 11, 13, 0})), std::optional<double>(10.5));
    EXPECT_EQ(outs(*ind), (std::vector<double>{10.5, 10.5}));
    EXPECT_EQ(ind->warmup_period(), 2u);
}

TEST(HighLowVolumeNodesKind, LeastTradedTieTakesLowerBinAndSkipsEmptyBins) {
    // 10..14 in 4 bins of 1: volumes {3, 1, 0, 1}.
    auto ind = make("HighLowVolumeNodes", {3, 4});
    run(*ind, {{10.2, 10.5, 10, 10.3, 3}, {11.2, 11.5, 11, 11.3, 1}});
    EXPECT_EQ(ind->update(snap({13.5, 14, 13, 13.8, 1})), std::optional<double>(10.5));
    EXPECT_EQ(outs(*ind), (std::vector<double>{10.5, 11.5}));
}

TEST(HighLowVolumeNodesKind, FlatWindowAndFailingCandle) {
    auto ind = make("HighLowVolumeNodes", {2, 5});
    EXPECT_FALSE(ind->update(snap({4, 4, 4, 4, 2})).has_value());
    EXPECT_FALSE(ind->update(snap(kBad)).has_value());
    EXPECT_EQ(ind->update(snap({4, 4, 4, 4, 7})), std::optional<double>(4.0));
    EXPECT_EQ(outs(*ind), (std::vector<double>{4.0, 4.0}));
    EXPECT_FALSE(ind->update(snap(kBad)).has_value());
    EXPECT_EQ(outs(*ind), (std::vector<double>{4.0, 4.0}));
}

TEST(HighLowVolumeNodesKind, SeriesMatchesModel) {
    const std::vector<double> hvn = {kNone, kNone, kNone, 101.4, 101.63928571428572, 102.625, 102.625, 102.5,
                                     102.6392857142857, 101.21785714285714, 100.77142857142857,
                                     101.43571428571428, 101.5, 102.07499999999999};
    const std::vector<double> lvn = {kNone, kNone, kNone, 102.25714285714287, 100.96785714285714,
                                     101.81071428571428, 101.81071428571428, 103.38571428571429,
                                     100.38214285714285, 103.03928571428571, 99.91428571428571,
                                     99.89285714285714, 99.95714285714286, 101.02499999999999};
    auto ind = make("HighLowVolumeNodes", {4, 7});
    std::vector<double> got_hvn, got_lvn;
    for (const Bar& b : kSeries) {
        auto v = ind->update(snap(b));
        auto o = outs(*ind);
        got_hvn.push_back(v ? *v : kNone);
        got_lvn.push_back(v && o.size() == 2 ? o[1] : kNone);
        if (v) EXPECT_EQ(o[0], *v);
    }
    expect_values(got_hvn, hvn, "hvn");
    expect_values(got_lvn, lvn, "lvn");
}

// ---- NakedPoc ----

TEST(NakedPocKind, BlockPocStaysUntilTradedThrough) {
    auto ind = make("NakedPoc", {2, 4});
    EXPECT_EQ(ind->warmup_period(), 2u);
    EXPECT_FALSE(ind->update(snap({11, 14, 10, 13, 8})).has_value());
    // Block 10..16 in bins of 1.5: volumes {8/3, 16/3, 16/3, 8/3}, POC bin 1 at 12.25.
    // The completing candle holds 12.25 in its range yet cannot remove it.
    EXPECT_EQ(ind->update(snap({13, 16, 12, 15, 8})), std::optional<double>(12.25));
    // A failing candle spanning 12.25 removes nothing and does not join the block.
    EXPECT_FALSE(ind->update(snap({12.5, 12.0, 13.0, 12.5, 1.0})).has_value());
    EXPECT_EQ(ind->update(snap({15, 15.5, 14.5, 15, 4})), std::optional<double>(12.25));
    // This candle trades through 12.25 and completes block 2 (12..15.5 in bins of
    // 0.875, volumes {0.5, 0.5, 2, 2}): POC bin 2, centre 14.1875, the one naked POC.
    EXPECT_EQ(ind->update(snap({12.5, 13, 12, 12.5, 1})), std::optional<double>(14.1875));
    EXPECT_TRUE(ind->outputs().empty());
}

TEST(NakedPocKind, EmptyListGivesTheClose) {
    auto ind = make("NakedPoc", {2, 4});
    run(*ind, {{11, 14, 10, 13, 8}, {13, 16, 12, 15, 8}});
    EXPECT_EQ(ind->update(snap({12.5, 13, 12, 12.75, 1})), std::optional<double>(12.75));
}

TEST(NakedPocKind, EqualDistanceTakesTheOlderEntry) {
    auto ind = make("NakedPoc", {2, 1});
    // Blocks 10..12 (POC 11) and 20..22 (POC 21).
    auto v = run(*ind, {{11, 12, 10, 11, 1}, {11, 12, 10, 11, 1}, {21, 22, 20, 21, 1}, {21, 22, 20, 21.5, 1}});
    expect_values(v, {kNone, 11.0, 11.0, 21.0}, "NakedPoc");
    EXPECT_EQ(ind->update(snap({16, 16.1, 15.9, 16, 1})), std::optional<double>(11.0));
}

TEST(NakedPocKind, FlatBlockUsesItsLow) {
    auto ind = make("NakedPoc", {2, 3});
    run(*ind, {{7, 7, 7, 7, 5}});
    EXPECT_EQ(ind->update(snap({7, 7, 7, 7, 0})), std::optional<double>(7.0));
    EXPECT_EQ(ind->update(snap({8, 8.5, 7.5, 8, 1})), std::optional<double>(7.0));
}

TEST(NakedPocKind, SeriesMatchesModel) {
    auto a = make("NakedPoc", {3, 5});
    expect_values(run(*a, kSeries),
                  {kNone, kNone, 100.80000000000001, 100.80000000000001, 100.80000000000001, 102.625,
                   100.80000000000001, 100.80000000000001, 102.025, 102.025, 102.1, 101.05000000000001,
                   101.05000000000001, 101.05000000000001},
                  "NakedPoc 3 5");
    auto b = make("NakedPoc", {2, 4});
    expect_values(run(*b, kSeries),
                  {kNone, 100.85625, 100.85625, 101.54374999999999, 100.85625, 102.26875, 100.85625, 100.85625,
                   102.075, 102.075, 99.9625, 101.43125, 101.43125, 102.3},
                  "NakedPoc 2 4");
}

// ---- ProfileShape ----

TEST(ProfileShapeKind, ThirdsOfThreeBins) {
    // One candle over the whole range: equal bins, POC bin 0.
    auto low = make("ProfileShape", {1, 3});
    EXPECT_EQ(low->update(snap({1, 3, 0, 2, 3})), std::optional<double>(-1.0));
    // 0..3 in bins of 1, a second candle inside bin 1 or bin 2.
    auto mid = make("ProfileShape", {2, 3});
    run(*mid, {{1, 3, 0, 2, 3}});
    EXPECT_EQ(mid->update(snap({1.5, 1.8, 1.2, 1.5, 1})), std::optional<double>(0.0));
    auto high = make("ProfileShape", {2, 3});
    run(*high, {{1, 3, 0, 2, 3}});
    EXPECT_EQ(high->update(snap({2.5, 2.8, 2.2, 2.5, 1})), std::optional<double>(1.0));
    // A flat window has its POC at bin 0.
    auto flat = make("ProfileShape", {2, 3});
    EXPECT_FALSE(flat->update(snap({5, 5, 5, 5, 1})).has_value());
    EXPECT_FALSE(flat->update(snap(kBad)).has_value());
    EXPECT_EQ(flat->update(snap({5, 5, 5, 5, 9})), std::optional<double>(-1.0));
    EXPECT_EQ(flat->warmup_period(), 2u);
    EXPECT_TRUE(flat->outputs().empty());
}

TEST(ProfileShapeKind, SeriesMatchesModel) {
    auto a = make("ProfileShape", {3, 9});
    expect_values(run(*a, kSeries), {kNone, kNone, -1, 0, -1, 0, 0, 0, 0, 0, 0, 1, 0, 0}, "ProfileShape 3 9");
}

// ---- SinglePrints ----

TEST(SinglePrintsKind, OneCandleCoversEveryBinOnce) {
    auto ind = make("SinglePrints", {1, 16777216});
    EXPECT_EQ(ind->update(snap({10, 11, 9, 10, 0})), std::optional<double>(16777216.0));
    EXPECT_EQ(ind->update(snap({10, 10, 10, 10, 5})), std::optional<double>(0.0));
    EXPECT_EQ(ind->warmup_period(), 1u);
}

TEST(SinglePrintsKind, CountsEveryCandleWhateverItsVolume) {
    // 0..4 in bins of 1: counts {2, 1, 1, 1}.
    auto ind = make("SinglePrints", {2, 4});
    EXPECT_FALSE(ind->update(snap({1, 4, 0, 2, 0})).has_value());
    EXPECT_FALSE(ind->update(snap(kBad)).has_value());
    EXPECT_EQ(ind->update(snap({0.5, 0.9, 0, 0.5, 0})), std::optional<double>(3.0));
    EXPECT_EQ(ind->update(snap({0.5, 0.9, 0, 0.5, 0})), std::optional<double>(0.0));  // two candles over one range
    EXPECT_TRUE(ind->outputs().empty());
}

TEST(SinglePrintsKind, SeriesMatchesModel) {
    auto ind = make("SinglePrints", {4, 8});
    expect_values(run(*ind, kSeries), {kNone, kNone, kNone, 3, 1, 2, 1, 0, 1, 2, 1, 1, 3, 2}, "SinglePrints 4 8");
}

}  // namespace
