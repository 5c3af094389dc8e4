// Pivot reversal, new price lines and the line-break direction: construction checks
// and worked candle sequences.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using levels_support::candle;
using levels_support::make;

// A candle that only carries a close.
FeedSnapshot close_at(double c) { return candle(c, c, c, c); }

FeedSnapshot broken() {
    FeedSnapshot f;
    f.candle = Candle{0, 10.0, 11.0, 9.0, 10.0, -1.0};  // negative volume
    return f;
}

auto& build = build_support::build_error;
auto& reason = build_support::params_error;
using build_support::kMax;
using build_support::kZero;
constexpr double kTiny = 1e-20;  // passes the reader as 0

// Feeds the snapshots and collects every update's outcome.
std::vector<std::optional<double>> run(Indicator& k, const std::vector<FeedSnapshot>& bars) {
    std::vector<std::optional<double>> out;
    for (const auto& b : bars) out.push_back(k.update(b));
    return out;
}

using Values = std::vector<std::optional<double>>;
constexpr std::nullopt_t none = std::nullopt;

}  // namespace

TEST(LineKindsConstruction, PivotReversal) {
    EXPECT_EQ(build("PivotReversal", {kTiny, 3}), reason("PivotReversal", kZero));
    EXPECT_EQ(build("PivotReversal", {3, kTiny}), reason("PivotReversal", kZero));
    EXPECT_EQ(build("PivotReversal", {5}), reason("PivotReversal", "missing parameter #1"));
    EXPECT_EQ(build("PivotReversal", {0.5, 3}), reason("PivotReversal", "parameter #0 must be a positive integer, got 0.5"));
    EXPECT_EQ(build("PivotReversal", {2, 2}), "built");
    // The window of left + right + 1 candles is bounded like every other window and
    // never wraps, however large the two counts.
    EXPECT_EQ(build("PivotReversal", {8388608, 8388607}), "built");  // exactly 2^24 candles
    EXPECT_EQ(build("PivotReversal", {8388608, 8388608}), reason("PivotReversal", kMax));
    EXPECT_EQ(build("PivotReversal", {1e300, 1e300}), reason("PivotReversal", kMax));
    EXPECT_EQ(build("PivotReversal", {9223372036854775808.0, 9223372036854775808.0}), reason("PivotReversal", kMax));
}

TEST(LineKindsConstruction, NewPriceLinesAndThreeLineBreak) {
    const std::string count = reason("NewPriceLines", "invalid period: new price lines count must be >= 2");
    EXPECT_EQ(build("NewPriceLines", {1}), count);
    EXPECT_EQ(build("NewPriceLines", {kTiny}), count);
    EXPECT_EQ(build("NewPriceLines", {2}), "built");
    EXPECT_EQ(build("NewPriceLines", {16777216}), "built");
    EXPECT_EQ(build("NewPriceLines", {16777217}), reason("NewPriceLines", kMax));
    EXPECT_EQ(build("NewPriceLines", {}), reason("NewPriceLines", "missing parameter #0"));

    EXPECT_EQ(build("ThreeLineBreak", {kTiny}), reason("ThreeLineBreak", kZero));
    EXPECT_EQ(build("ThreeLineBreak", {16777216}), "built");
    EXPECT_EQ(build("ThreeLineBreak", {16777217}), reason("ThreeLineBreak", kMax));
    EXPECT_EQ(build("ThreeLineBreak", {1e300}), reason("ThreeLineBreak", kMax));
}

TEST(PivotReversal, BreakoutsOfFractalPivots) {
    auto k = make("PivotReversal", {2, 2});
    ASSERT_TRUE(k);
    EXPECT_EQ(k->warmup_period(), 5u);
    const Values got = run(*k, {
                                   candle(9.5, 10, 9, 9.5),
                                   candle(10.5, 11, 10, 10.5),
                                   candle(12.5, 13, 12, 12.5),  // pivot high 13, known on bar 4
                                   candle(11.5, 12, 11, 11.5),
                                   candle(10.5, 11, 10, 10.5),  // pivot low 10, known on bar 6
                                   candle(13, 13.5, 12, 13),    // a close exactly at 13 does not cross
                                   candle(13.5, 14, 12.5, 13.5),  // 13 -> 13.5 crosses above 13
                                   candle(13.2, 13.6, 12.8, 13.2),
                                   candle(9.5, 13.3, 9, 9.5),  // 13.2 -> 9.5 crosses below 10
                                   candle(9.8, 10, 9.5, 9.8),
                               });
    EXPECT_EQ(got, (Values{none, none, none, none, 0.0, 0.0, 1.0, 0.0, -1.0, 0.0}));
    EXPECT_TRUE(k->outputs().empty());
}

TEST(PivotReversal, EqualNeighbourIsNoPivotAndBrokenCandlesAreSkipped) {
    auto k = make("PivotReversal", {2, 2});
    auto skip = make("PivotReversal", {2, 2});
    ASSERT_TRUE(k && skip);
    const std::vector<FeedSnapshot> bars = {
        candle(9.5, 10, 9, 9.5),   candle(10.5, 11, 10.5, 10.5), candle(12.5, 13, 12, 12.5),
        candle(12.5, 13, 12, 12.5),  // the same high: neither bar is a pivot high
        candle(11, 11.5, 11, 11),  candle(12, 12.5, 11.5, 12),   candle(13.5, 14, 12.5, 13.5),
    };
    std::vector<FeedSnapshot> with_broken = bars;
    with_broken.insert(with_broken.begin() + 3, broken());
    const Values a = run(*k, bars);
    Values b = run(*skip, with_broken);
    EXPECT_EQ(b[3], none);
    b.erase(b.begin() + 3);
    EXPECT_EQ(a, (Values{none, none, none, none, 0.0, 0.0, 0.0}));
    EXPECT_EQ(a, b);
}

TEST(NewPriceLines, RunsOfCloses) {
    auto k = make("NewPriceLines", {3});
    ASSERT_TRUE(k);
    EXPECT_EQ(k->warmup_period(), 2u);
    std::vector<FeedSnapshot> bars;
    for (double c : {10.0, 11.0, 12.0, 13.0, 14.0, 14.0, 13.0, 12.0, 11.0, 10.0, 10.5, 9.0})
        bars.push_back(close_at(c));
    bars.insert(bars.begin() + 2, broken());
    EXPECT_EQ(run(*k, bars),
              (Values{none, 0.0, none, 0.0, -1.0, -1.0, 0.0, 0.0, 0.0, 1.0, 1.0, 0.0, 0.0}));
}

TEST(ThreeLineBreak, LinesAndReversals) {
    auto k = make("ThreeLineBreak", {3});
    ASSERT_TRUE(k);
    EXPECT_EQ(k->warmup_period(), 2u);
    std::vector<FeedSnapshot> bars;
    // Lines 10, 11, 12, 13 (the list keeps 11, 12, 13); 10.5 breaks all three down;
    // 12.5 breaks none (the list is 12, 13, 10.5); 13.5 breaks all three up.
    for (double c : {10.0, 11.0, 12.0, 13.0, 10.5, 12.5, 13.5}) bars.push_back(close_at(c));
    EXPECT_EQ(run(*k, bars), (Values{none, 1.0, 1.0, 1.0, -1.0, -1.0, 1.0}));

    auto m = make("ThreeLineBreak", {3});
    std::vector<FeedSnapshot> mild;
    for (double c : {10.0, 11.0, 12.0, 13.0, 11.5, 10.9}) mild.push_back(close_at(c));
    // 11.5 lies inside the last three lines: still up, no line; 10.9 is below 11.
    EXPECT_EQ(run(*m, mild), (Values{none, 1.0, 1.0, 1.0, 1.0, -1.0}));
}

TEST(ThreeLineBreak, NoDirectionUntilAMove) {
    auto k = make("ThreeLineBreak", {2});
    ASSERT_TRUE(k);
    std::vector<FeedSnapshot> bars;
    for (double c : {10.0, 10.0, 10.0, 9.0, 9.5, 9.5, 10.5}) bars.push_back(close_at(c));
    bars.insert(bars.begin() + 1, broken());
    // Equal closes draw nothing; 9 below the only line turns the chart down; 9.5 breaks
    // neither 9 down nor the two lines 10, 9 up; 10.5 does.
    EXPECT_EQ(run(*k, bars), (Values{none, none, none, none, -1.0, -1.0, -1.0, 1.0}));
}

TEST(LineKindsConstruction, ParameterlessPivotKindsAcceptAnyList) {
    const std::vector<double> junk = {std::numeric_limits<double>::quiet_NaN(), -3, 0.5};
    for (const char* k :
         {"DoubleTopBottom", "TripleTopBottom", "HeadAndShoulders", "Triangle", "Wedge", "FlagPennant",
          "RectangleRange", "CupAndHandle", "Abcd", "Bat", "Butterfly", "Crab", "Cypher", "Gartley", "Shark",
          "ThreeDrives", "ClassicPivots", "WoodiePivots", "FibonacciPivots", "Camarilla", "DemarkPivots",
          "CentralPivotRange", "FibRetracement", "FibExtension", "FibProjection", "GoldenPocket", "AutoFib",
          "FibConfluence", "FibFan", "FibArcs", "FibChannel", "FibTimeZones"}) {
        EXPECT_EQ(build(k, {}), "built") << k;
        EXPECT_EQ(build(k, junk), "built") << k;
        auto r = build_indicator(k, junk);
        ASSERT_TRUE(r);
        EXPECT_EQ((*r)->update(close_at(10)).has_value(), std::string_view(k).find("Pivot") != std::string_view::npos ||
                                                              std::string_view(k) == "Camarilla")
            << k;
    }
}
