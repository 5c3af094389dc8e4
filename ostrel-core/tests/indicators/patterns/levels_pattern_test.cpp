// Chart and harmonic patterns on swing pivots, each checked on a pivot sequence
// worked out by hand to match the formation and on a near miss.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using Values = std::vector<std::optional<double>>;
constexpr std::nullopt_t none = std::nullopt;

FeedSnapshot flat(double p) {
    FeedSnapshot f;
    f.candle = Candle{0, p, p, p, p, 1.0};
    return f;
}

using levels_support::make;

// Feeds one flat candle per pivot price (each move of more than 5% confirms the
// pivot before it), then one candle 10% against the last pivot, which confirms it.
// The first pivot a tracker confirms is a swing high, so a sequence starts with one.
Values feed_pivots(Indicator& k, const std::vector<double>& pivots) {
    Values out;
    for (double p : pivots) out.push_back(k.update(flat(p)));
    const double last = pivots.back();
    const bool last_high = last > pivots[pivots.size() - 2];
    out.push_back(k.update(flat(last_high ? last * 0.9 : last * 1.1)));
    return out;
}

// The code given on the bar that confirms the last pivot of the sequence.
std::optional<double> code(std::string_view kind, const std::vector<double>& pivots) {
    auto k = make(kind);
    if (!k) return none;
    return feed_pivots(*k, pivots).back();
}

}  // namespace

TEST(ChartPatterns, CodesOnlyOnTheConfirmingBarOnceTheListIsFull) {
    auto k = make("DoubleTopBottom");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->warmup_period(), 4u);
    EXPECT_TRUE(k->outputs().empty());
    // Pivots 100 (high) and 90 are confirmed on bars 1 and 2 while the list is short;
    // 102.9 completes the double top on bar 3.
    Values v = feed_pivots(*k, {100, 90, 102.9});
    EXPECT_EQ(v, (Values{none, none, none, -1.0}));
    EXPECT_EQ(k->update(flat(93)), 0.0);  // no pivot confirmed: 0, though the pattern still stands
    EXPECT_TRUE(k->outputs().empty());
}

TEST(ChartPatterns, DoubleAndTripleTopsAndBottoms) {
    EXPECT_EQ(code("DoubleTopBottom", {100, 90, 102.9}), -1.0);  // 2.9 <= 0.03 x 102.9
    EXPECT_EQ(code("DoubleTopBottom", {100, 90, 103.2}), 0.0);   // 3.2 > 0.03 x 103.2
    EXPECT_EQ(code("DoubleTopBottom", {120, 100, 110, 102.9}), 1.0);
    EXPECT_EQ(code("TripleTopBottom", {100, 90, 101, 90, 99}), -1.0);
    EXPECT_EQ(code("TripleTopBottom", {100, 90, 101, 90, 97.5}), 0.0);  // 3.5 > 0.03 x 101
    EXPECT_EQ(code("TripleTopBottom", {130, 90, 110, 92, 111, 91}), 1.0);
}

TEST(ChartPatterns, HeadAndShoulders) {
    EXPECT_EQ(code("HeadAndShoulders", {100, 90, 110, 91, 101}), -1.0);
    EXPECT_EQ(code("HeadAndShoulders", {100, 90, 100.5, 91, 101}), 0.0);  // head not above the right shoulder
    EXPECT_EQ(code("HeadAndShoulders", {100, 90, 110, 95, 101}), 0.0);    // neckline 90 / 95 not flat
    EXPECT_EQ(code("HeadAndShoulders", {120, 100, 110, 90, 111, 101}), 1.0);
    EXPECT_EQ(code("HeadAndShoulders", {120, 100, 110, 90, 111, 104}), 0.0);  // shoulders 100 / 104
}

TEST(ChartPatterns, Triangle) {
    EXPECT_EQ(code("Triangle", {120, 90, 110, 95, 111}), 1.0);     // flat highs, lows up 5.6%
    EXPECT_EQ(code("Triangle", {120, 90, 110, 91.8, 111}), 0.0);   // lows up only 2%
    EXPECT_EQ(code("Triangle", {110, 90, 100, 91}), -1.0);         // falling highs, flat lows
    EXPECT_EQ(code("Triangle", {110, 90, 100, 94}), 1.0);          // symmetrical, last a low
    EXPECT_EQ(code("Triangle", {120, 90, 110, 94, 100}), -1.0);    // symmetrical, last a high
    EXPECT_EQ(code("Triangle", {110, 90, 107.5, 94}), 1.0);        // highs within 3% count as flat: ascending
    EXPECT_EQ(code("Triangle", {110, 90, 115, 94}), 0.0);          // rising highs
    EXPECT_EQ(code("Triangle", {110, 90, 100, 85}), 0.0);          // falling highs over falling lows
}

TEST(ChartPatterns, Wedge) {
    EXPECT_EQ(code("Wedge", {120, 90, 110, 95, 112}), -1.0);  // rising, lows faster
    EXPECT_EQ(code("Wedge", {120, 100, 110, 97}), 1.0);       // falling, highs faster
    EXPECT_EQ(code("Wedge", {120, 90, 110, 92, 112}), 0.0);   // parallel sides
    EXPECT_EQ(code("Wedge", {120, 90, 110, 99, 112}), -1.0);
    EXPECT_EQ(code("Wedge", {120, 90, 110, 89, 112}), 0.0);   // diverging
}

TEST(ChartPatterns, FlagPennant) {
    EXPECT_EQ(code("FlagPennant", {130, 100, 120, 111}), 1.0);  // pole up 20, retrace 9
    EXPECT_EQ(code("FlagPennant", {130, 100, 120, 110}), 0.0);  // retrace of exactly half the pole
    EXPECT_EQ(code("FlagPennant", {120, 100, 109}), -1.0);      // pole down 20, retrace 9
}

TEST(ChartPatterns, RectangleRange) {
    EXPECT_EQ(code("RectangleRange", {120, 90, 110, 91, 111}), -1.0);
    EXPECT_EQ(code("RectangleRange", {110, 90, 111, 91}), 1.0);
    EXPECT_EQ(code("RectangleRange", {120, 90, 110, 95, 111}), 0.0);  // only the highs are flat
}

TEST(ChartPatterns, CupAndHandle) {
    EXPECT_EQ(code("CupAndHandle", {100, 80, 101, 95}), 1.0);
    EXPECT_EQ(code("CupAndHandle", {100, 80, 101, 78}), 0.0);   // handle below the cup
    EXPECT_EQ(code("CupAndHandle", {100, 80, 104, 95}), 0.0);   // rims 100 / 104
    EXPECT_EQ(code("CupAndHandle", {130, 100, 120, 99, 104}), -1.0);
}

TEST(HarmonicPatterns, Gartley) {
    // X 100, A 200: |AB/XA| 0.62, |BC/AB| 38/62, |CD/BC| 60/38, |AD/XA| 0.84 (an end).
    EXPECT_EQ(code("Gartley", {250, 100, 200, 138, 176, 116}), 1.0);
    EXPECT_EQ(code("Gartley", {250, 100, 200, 138, 176, 115.9}), 0.0);  // |AD/XA| 0.841
    EXPECT_EQ(code("Gartley", {200, 100, 162, 124, 184}), -1.0);
}

TEST(HarmonicPatterns, Bat) {
    EXPECT_EQ(code("Bat", {250, 100, 200, 150, 180, 112}), 1.0);     // |AB/XA| exactly 0.5
    EXPECT_EQ(code("Bat", {250, 100, 200, 149.99, 180, 112}), 0.0);  // 0.5001
    EXPECT_EQ(code("Bat", {200, 100, 150, 120, 188}), -1.0);
}

TEST(HarmonicPatterns, ButterflyCrabSharkCypher) {
    EXPECT_EQ(code("Butterfly", {250, 100, 200, 121, 168.4, 60}), 1.0);
    EXPECT_EQ(code("Butterfly", {250, 100, 200, 121, 168.4, 20}), 0.0);
    EXPECT_EQ(code("Crab", {250, 100, 200, 140, 188, 40}), 1.0);
    EXPECT_EQ(code("Crab", {250, 100, 200, 140, 188, 34}), 0.0);  // |AD/XA| 1.66
    EXPECT_EQ(code("Shark", {150, 100, 200, 70, 330, 100}), 1.0);
    EXPECT_EQ(code("Shark", {150, 100, 200, 70, 330, 95}), 0.0);  // |CD/BC| 235/260
    EXPECT_EQ(code("Cypher", {250, 100, 200, 150, 235, 129.7}), 1.0);
    EXPECT_EQ(code("Cypher", {250, 100, 200, 150, 245, 129.7}), 0.0);  // |XC/XA| 1.45
}

TEST(HarmonicPatterns, AbcdAndThreeDrives) {
    EXPECT_EQ(code("Abcd", {120, 100, 110, 104, 114}), -1.0);  // legs 10, 6, 10
    EXPECT_EQ(code("Abcd", {120, 100, 110, 104, 112}), 0.0);   // legs 10, 6, 8: |10 - 8| > 0.1 x 10
    EXPECT_EQ(code("Abcd", {110, 100, 106, 96}), 1.0);         // legs 10, 6, 10, ending in a low
    EXPECT_EQ(code("ThreeDrives", {100, 90, 104, 94, 108, 98, 112}), -1.0);
    EXPECT_EQ(code("ThreeDrives", {100, 90, 104, 94, 108, 98, 118}), 0.0);  // last drive 2 x its correction
}

TEST(HarmonicPatterns, WarmupsAndNoValueBeforeTheList) {
    const std::vector<std::pair<std::string_view, std::size_t>> kinds = {
        {"Abcd", 5}, {"Bat", 6}, {"Butterfly", 6}, {"Crab", 6}, {"Cypher", 6}, {"Gartley", 6}, {"Shark", 6},
        {"ThreeDrives", 8}, {"Triangle", 5}, {"Wedge", 5}, {"RectangleRange", 5}, {"CupAndHandle", 5},
        {"HeadAndShoulders", 6}, {"TripleTopBottom", 6}, {"FlagPennant", 4}, {"DoubleTopBottom", 4}};
    for (const auto& [name, warmup] : kinds) {
        auto k = make(name);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->warmup_period(), warmup) << name;
        const std::size_t n = warmup - 1;  // pivots in the formation
        // Alternating 100 / 80: pivot i is confirmed on bar i + 1.
        for (std::size_t bar = 0; bar < n + 3; ++bar) {
            auto v = k->update(flat(bar % 2 == 0 ? 100 : 80));
            if (bar < n)
                EXPECT_FALSE(v.has_value()) << name << " bar " << bar;
            else
                EXPECT_TRUE(v.has_value()) << name << " bar " << bar;
        }
        FeedSnapshot bad = flat(50);
        bad.candle.open = 200;  // open above high
        EXPECT_FALSE(k->update(bad).has_value()) << name;
    }
}
