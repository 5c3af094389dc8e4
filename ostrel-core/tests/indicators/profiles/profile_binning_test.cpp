// The volume-at-price binning core and the price-range and value-area profiles
// (VolumeProfile, TpoProfile, ValueArea, CompositeProfile): construction checks in
// order with their texts, the binning boundaries, worked windows, and a candle series
// checked against an independent model of the binning and value-area rules.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/candle_family_support.hpp"
#include "support/profile_support.hpp"
#include "indicators/core/profile_binning.hpp"

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

const std::string kPctPeriod = "invalid period: value_area_pct must be in (0, 1]";
const std::string kPctParam = "invalid parameter: value_area_pct must be in (0, 1]";

using Row = std::array<double, 3>;

// Feeds kSeries and compares the value and every named output with the model's rows,
// bit for bit; a row starting with kNone expects no value.
template <std::size_t N>
void expect_series(std::string_view kind, std::vector<double> params,
                   const std::vector<std::array<double, N>>& rows) {
    auto ind = make(kind, params);
    ASSERT_TRUE(ind);
    ASSERT_EQ(rows.size(), kSeries.size());
    for (std::size_t i = 0; i < kSeries.size(); ++i) {
        auto v = ind->update(snap(kSeries[i]));
        if (std::isnan(rows[i][0])) {
            EXPECT_FALSE(v.has_value()) << kind << " bar " << i;
            EXPECT_TRUE(ind->outputs().empty()) << kind << " bar " << i;
            continue;
        }
        ASSERT_TRUE(v.has_value()) << kind << " bar " << i;
        EXPECT_EQ(*v, rows[i][0]) << kind << " bar " << i;
        std::vector<double> got = outs(*ind);
        ASSERT_EQ(got.size(), N) << kind << " bar " << i;
        for (std::size_t k = 0; k < N; ++k) EXPECT_EQ(got[k], rows[i][k]) << kind << " bar " << i << " out " << k;
    }
}

core::ProfileRange range_of(std::vector<core::ProfileBar> bars, std::size_t bins) {
    return core::ProfileBinning::range(bars, bins);
}

// ---- construction ----

TEST(ProfileConstruction, ZeroPeriodOrBinsComesFirst) {
    for (const char* kind : {"VolumeProfile", "TpoProfile"}) {
        EXPECT_EQ(reason(kind, {20, 24}), "built") << kind;
        EXPECT_EQ(reason(kind, {1e-20, 24}), kZero) << kind;
        EXPECT_EQ(reason(kind, {20, 1e-20}), kZero) << kind;
    }
    for (const char* kind : {"ValueArea", "CompositeProfile"}) {
        EXPECT_EQ(reason(kind, {20, 24, 1.0}), "built") << kind;
        // Zero is found before the fraction is looked at.
        EXPECT_EQ(reason(kind, {1e-20, 24, 0.7}), kZero) << kind;
        EXPECT_EQ(reason(kind, {20, 1e-20, 1.5}), kZero) << kind;
    }
}

TEST(ProfileConstruction, FractionIsReportedUnderTwoErrorKinds) {
    for (double pct : {0.0, -0.0, -0.2, 1.5, 1.0000000000000002}) {
        EXPECT_EQ(reason("ValueArea", {20, 24, pct}), kPctPeriod) << pct;
        EXPECT_EQ(reason("CompositeProfile", {20, 24, pct}), kPctParam) << pct;
    }
    EXPECT_EQ(reason("ValueArea", {20, 24, 5e-324}), "built");
    EXPECT_EQ(reason("CompositeProfile", {20, 24, 1.0}), "built");
    // A non-finite fraction never reaches the kind: the reader refuses it.
    EXPECT_EQ(reason("ValueArea", {20, 24, kNone}), "parameter #2 must be finite");
    EXPECT_EQ(reason("CompositeProfile", {20, 24}), "missing parameter #2");
}

// Window and histogram are allocated at construction, so both sizes are bounded by
// MAX_PERIOD, tested after the kind's own checks.
TEST(ProfileConstruction, SizesAboveMaxPeriodAreRefusedAfterOwnChecks) {
    for (const char* kind : {"VolumeProfile", "TpoProfile"}) {
        EXPECT_EQ(reason(kind, {16777217, 4}), kMax) << kind;
        EXPECT_EQ(reason(kind, {4, 16777217}), kMax) << kind;
        EXPECT_EQ(reason(kind, {1e300, 1e300}), kMax) << kind;
        EXPECT_EQ(reason(kind, {1e300, 1e-20}), kZero) << kind;
    }
    EXPECT_EQ(reason("ValueArea", {16777217, 4, 0.7}), kMax);
    EXPECT_EQ(reason("ValueArea", {16777217, 4, 1.5}), kPctPeriod);
    EXPECT_EQ(reason("CompositeProfile", {4, 16777217, 0.7}), kMax);
    EXPECT_EQ(reason("CompositeProfile", {4, 16777217, 0.0}), kPctParam);
}

// ---- the binning rule ----

TEST(ProfileBinningCore, WindowHighFallsIntoTheLastBin) {
    // 0.1 .. 0.7 in 3 bins: (0.7 - 0.1) / ((0.7 - 0.1) / 3) is 3 or just below.
    for (std::size_t bins : {1u, 3u, 7u, 10u, 49u}) {
        auto r = range_of({{0.1, 0.3, 1}, {0.2, 0.7, 1}}, bins);
        ASSERT_FALSE(r.flat);
        EXPECT_EQ(r.bin_of(r.high), bins - 1) << bins;
        EXPECT_EQ(r.bin_of(r.low), 0u) << bins;
    }
    auto r = range_of({{10, 14, 1}}, 4);
    EXPECT_EQ(r.width, 1.0);
    EXPECT_EQ(r.bin_of(11.0), 1u);  // a bin's lower edge belongs to it
    EXPECT_EQ(r.bin_of(11.999), 1u);
    EXPECT_EQ(r.bin_of(9.0), 0u);  // below the window: raised to 0
    EXPECT_EQ(r.bin_of(30.0), 3u);  // above it: lowered to the last bin
    EXPECT_EQ(r.centre(2), 12.5);
    EXPECT_EQ(r.edge(4), 14.0);
}

TEST(ProfileBinningCore, DegenerateWidthsStillGiveValidBins) {
    // A range that overflows to infinity: every quotient is 0 or not a number.
    auto wide = range_of({{-1e308, 1e308, 1}}, 5);
    ASSERT_FALSE(wide.flat);
    EXPECT_EQ(wide.width, std::numeric_limits<double>::infinity());
    EXPECT_EQ(wide.bin_of(-1e308), 0u);
    EXPECT_EQ(wide.bin_of(1e308), 0u);
    // A range so narrow that the width rounds to 0.
    auto narrow = range_of({{0.0, 5e-324, 1}}, 3);
    ASSERT_FALSE(narrow.flat);
    EXPECT_EQ(narrow.width, 0.0);
    EXPECT_EQ(narrow.bin_of(0.0), 0u);
    EXPECT_EQ(narrow.bin_of(5e-324), 2u);
    // The kinds run on such windows without leaving the histogram.
    auto va = make("ValueArea", {1, 5, 0.7});
    auto v = va->update(snap({0, 1e308, -1e308, 0, 10}));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, std::numeric_limits<double>::infinity());  // -1e308 + inf * 0.5
}

TEST(ProfileBinningCore, HistogramsMatchIndependentModel) {
    // kSeries #3..#7, 6 bins: range 100.95 .. 104.05.
    std::vector<core::ProfileBar> bars;
    for (std::size_t i = 3; i < 8; ++i) bars.push_back({kSeries[i].l, kSeries[i].h, kSeries[i].v});
    auto r = range_of(bars, 6);
    EXPECT_EQ(r.low, 100.95);
    EXPECT_EQ(r.high, 104.05);
    EXPECT_EQ(r.width, 0.5166666666666657);
    std::vector<double> vol(6);
    core::ProfileBinning::volume(bars, r, std::span<double>(vol));
    EXPECT_EQ(vol, (std::vector<double>{816.7375, 1150.0375, 1169.3874999999998, 1871.0875, 1398.5, 1054.35}));
    std::vector<std::uint32_t> cnt(6);
    core::ProfileBinning::counts(bars, r, std::span<std::uint32_t>(cnt));
    EXPECT_EQ(cnt, (std::vector<std::uint32_t>{2, 3, 3, 4, 3, 2}));
    EXPECT_EQ(core::ProfileBinning::poc(vol), 3u);
}

// Each share is volume / covered bins, added to the bins bar by bar, oldest first:
// 5 / 3 differs from 5 * (1 / 3), and (5/3 + 0.2) + 0.3 from 0.3 + 0.2 + 5/3.
TEST(ProfileBinningCore, SharesAreDividedAndAddedOldestFirst) {
    std::vector<core::ProfileBar> bars = {{0, 3, 5}, {1.2, 1.8, 0.2}, {1.2, 1.8, 0.3}};
    auto r = range_of(bars, 3);
    std::vector<double> vol(3);
    core::ProfileBinning::volume(bars, r, std::span<double>(vol));
    EXPECT_EQ(vol, (std::vector<double>{1.6666666666666667, 2.1666666666666665, 1.6666666666666667}));
}

TEST(ProfileBinningCore, ZeroVolumeWidensTheRangeButOnlyCounts) {
    std::vector<core::ProfileBar> bars = {{10, 11, 4}, {12, 14, 0}};
    auto r = range_of(bars, 4);
    EXPECT_EQ(r.high, 14.0);  // the zero-volume candle still sets the high
    std::vector<double> vol(4);
    core::ProfileBinning::volume(bars, r, std::span<double>(vol));
    EXPECT_EQ(vol, (std::vector<double>{2, 2, 0, 0}));  // 10..11 covers bins 0 and 1
    std::vector<double> cnt(4);
    core::ProfileBinning::counts(bars, r, std::span<double>(cnt));
    EXPECT_EQ(cnt, (std::vector<double>{1, 1, 1, 1}));
}

TEST(ProfileBinningCore, FlatRangePutsEverythingIntoBinZero) {
    std::vector<core::ProfileBar> bars = {{5, 5, 3}, {5, 5, 0}, {5, 5, 4}};
    auto r = range_of(bars, 3);
    EXPECT_TRUE(r.flat);
    std::vector<double> vol(3);
    core::ProfileBinning::volume(bars, r, std::span<double>(vol));
    EXPECT_EQ(vol, (std::vector<double>{7, 0, 0}));
    std::vector<std::uint32_t> cnt(3);
    core::ProfileBinning::counts(bars, r, std::span<std::uint32_t>(cnt));
    EXPECT_EQ(cnt, (std::vector<std::uint32_t>{3, 0, 0}));
}

TEST(ProfileBinningCore, ValueAreaGrowthAndTieBreaks) {
    using core::ProfileBinning;
    std::vector<double> h = {2, 2, 2, 2};
    // Equal neighbours: the bin above is taken.
    EXPECT_EQ(ProfileBinning::value_area(h, 0, 0.5), (std::pair<std::size_t, std::size_t>{0, 1}));
    EXPECT_EQ(ProfileBinning::value_area(h, 1, 0.5), (std::pair<std::size_t, std::size_t>{1, 2}));
    // The heavier neighbour wins; at the top only the side below is left.
    std::vector<double> g = {1, 5, 3, 4, 9};
    EXPECT_EQ(ProfileBinning::value_area(g, 4, 0.6), (std::pair<std::size_t, std::size_t>{2, 4}));
    EXPECT_EQ(ProfileBinning::value_area(g, 2, 0.3), (std::pair<std::size_t, std::size_t>{1, 2}));
    EXPECT_EQ(ProfileBinning::value_area(g, 2, 0.5), (std::pair<std::size_t, std::size_t>{1, 3}));
    // A fraction of 1 takes every bin; an all-zero histogram stays at its POC.
    EXPECT_EQ(ProfileBinning::value_area(g, 4, 1.0), (std::pair<std::size_t, std::size_t>{0, 4}));
    std::vector<double> z = {0, 0, 0};
    EXPECT_EQ(ProfileBinning::poc(z), 0u);
    EXPECT_EQ(ProfileBinning::value_area(z, 0, 0.7), (std::pair<std::size_t, std::size_t>{0, 0}));
    std::vector<double> t = {1, 3, 3};
    EXPECT_EQ(ProfileBinning::poc(t), 1u);  // lowest bin on ties
}

// ---- the kinds on worked windows ----

TEST(ProfileKinds, ValueAreaWorkedWindow) {
    // One candle 10..14 with volume 8 over 4 bins: every bin holds 2.
    auto va = make("ValueArea", {1, 4, 0.5});
    EXPECT_EQ(va->update(snap({11, 14, 10, 13, 8})), std::optional<double>(10.5));
    EXPECT_EQ(outs(*va), (std::vector<double>{10.5, 12.0, 10.0}));
    auto cp = make("CompositeProfile", {1, 4, 0.5});
    EXPECT_EQ(cp->update(snap({11, 14, 10, 13, 8})), std::optional<double>(10.5));
    EXPECT_EQ(outs(*cp), (std::vector<double>{10.5, 11.5, 10.5}));
}

TEST(ProfileKinds, FlatWindowGivesTheCommonPrice) {
    for (const char* kind : {"ValueArea", "CompositeProfile"}) {
        auto ind = make(kind, {2, 5, 0.7});
        EXPECT_FALSE(ind->update(snap({7.25, 7.25, 7.25, 7.25, 3})).has_value());
        EXPECT_EQ(ind->update(snap({7.25, 7.25, 7.25, 7.25, 0})), std::optional<double>(7.25)) << kind;
        EXPECT_EQ(outs(*ind), (std::vector<double>{7.25, 7.25, 7.25})) << kind;
    }
    for (const char* kind : {"VolumeProfile", "TpoProfile"}) {
        auto ind = make(kind, {1, 5});
        EXPECT_EQ(ind->update(snap({7.25, 7.25, 7.25, 7.25, 3})), std::optional<double>(7.25)) << kind;
        EXPECT_EQ(outs(*ind), (std::vector<double>{7.25, 7.25})) << kind;
    }
}

TEST(ProfileKinds, AllZeroVolumeAreaIsBinZero) {
    auto va = make("ValueArea", {2, 4, 0.7});
    va->update(snap({10, 12, 10, 11, 0}));
    EXPECT_EQ(va->update(snap({12, 14, 11, 13, 0})), std::optional<double>(10.5));
    EXPECT_EQ(outs(*va), (std::vector<double>{10.5, 11.0, 10.0}));
}

TEST(ProfileKinds, WarmupOutputsAndFailingCandles) {
    for (const char* kind : {"VolumeProfile", "TpoProfile", "ValueArea", "CompositeProfile"}) {
        auto ind = make(kind, {3, 4, 0.7});
        EXPECT_EQ(ind->warmup_period(), 3u) << kind;
        EXPECT_TRUE(ind->outputs().empty()) << kind;
        EXPECT_FALSE(ind->update(snap(kSeries[0])).has_value()) << kind;
        EXPECT_FALSE(ind->update(snap(kSeries[1])).has_value()) << kind;
        EXPECT_TRUE(ind->outputs().empty()) << kind;
        // Each fails one check; none may enter the window.
        for (Bar bad : {Bar{1, 2, 3, 1, 5}, Bar{1, 2, 1, 1, -1}, Bar{kNone, 2, 1, 1, 5}, Bar{1, 2, 1, 1, kNone},
                        Bar{3, 2, 1, 1, 5}, Bar{1, 2, 1, 0.5, 5}}) {
            EXPECT_FALSE(ind->update(snap(bad)).has_value()) << kind;
        }
        EXPECT_TRUE(ind->outputs().empty()) << kind;
        auto v = ind->update(snap(kSeries[2]));
        auto ref = make(kind, {3, 4, 0.7});
        for (std::size_t i = 0; i < 3; ++i) ref->update(snap(kSeries[i]));
        ASSERT_TRUE(v.has_value()) << kind;
        EXPECT_EQ(outs(*ind), outs(*ref)) << kind;
        // A failing candle after the warm-up keeps the last outputs.
        EXPECT_FALSE(ind->update(snap({1, 2, 3, 1, 5})).has_value()) << kind;
        EXPECT_EQ(outs(*ind), outs(*ref)) << kind;
    }
}

// ---- a series against the independent model ----

TEST(ProfileSeries, PriceRangeProfiles) {
    std::vector<std::array<double, 2>> rows = {
        {kNone, kNone},   {kNone, kNone},   {kNone, kNone},   {kNone, kNone},   {99.9, 103.15},
        {100.8, 104.05},  {101.2, 104.05},  {100.95, 104.05}, {100.1, 104.05},  {99.7, 104.05},
        {99.7, 103.95},   {99.7, 102.7},    {99.7, 103.3},    {99.7, 103.3},
    };
    expect_series("VolumeProfile", {5, 6}, rows);
    expect_series("TpoProfile", {5, 6}, rows);
}

TEST(ProfileSeries, ValueAreaMatchesModel) {
    std::vector<Row> rows = {
        {kNone, 0, 0}, {kNone, 0, 0}, {kNone, 0, 0}, {kNone, 0, 0},
        {101.79583333333333, 102.60833333333333, 100.44166666666668},
        {102.69583333333333, 104.05, 101.88333333333333},
        {102.3875, 104.05, 102.15},
        {102.75833333333333, 103.53333333333333, 101.46666666666667},
        {102.40416666666667, 103.39166666666667, 100.75833333333333},
        {102.2375, 104.05, 101.15},
        {100.7625, 103.24166666666667, 100.40833333333333},
        {101.45, 102.7, 100.7},
        {101.8, 102.7, 100.3},
        {102.4, 103.3, 100.9},
    };
    expect_series("ValueArea", {5, 6, 0.7}, rows);
}

TEST(ProfileSeries, CompositeProfileMatchesModel) {
    std::vector<Row> rows = {
        {kNone, 0, 0}, {kNone, 0, 0}, {kNone, 0, 0}, {kNone, 0, 0},
        {101.79583333333333, 102.3375, 100.7125},
        {102.69583333333333, 103.77916666666667, 102.15416666666667},
        {102.3875, 103.8125, 102.3875},
        {102.75833333333333, 103.275, 101.725},
        {102.40416666666667, 103.0625, 101.08749999999999},
        {102.2375, 103.6875, 101.5125},
        {100.7625, 102.8875, 100.7625},
        {101.45, 102.45, 100.95},
        {101.8, 102.4, 100.6},
        {102.4, 103.0, 101.2},
    };
    expect_series("CompositeProfile", {5, 6, 0.7}, rows);
}

}  // namespace
