// The volume-at-price binning core of the profile kinds: the bin boundaries, the
// degenerate widths, the histograms and the value-area growth, worked by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "support/profile_support.hpp"
#include "indicators/core/profile_binning.hpp"

using namespace ostrel;

namespace {

using profile_support::kSeries;

core::ProfileRange range_of(std::vector<core::ProfileBar> bars, std::size_t bins) {
    return core::ProfileBinning::range(bars, bins);
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

}  // namespace
