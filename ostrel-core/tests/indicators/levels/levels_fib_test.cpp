// Fibonacci tools on swing pivots against values worked out independently over a
// path with six swings, and the worked edge cases.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using levels_support::make;
using levels_support::span;

// Closes of the path; each candle spans the close +- 0.75. Confirmed pivots:
// 112@3 (on bar 5), 95.75@8 (bar 10), 114.5@13 (bar 15), 94.75@19 (bar 20),
// 108.75@22 (bar 24), 96.5@25 (bar 27).
const std::vector<double> kCloses = {100,   103,   107.5, 111.25, 109,    104.5, 101.75, 99,     96.5,  98,
                                     102.25, 106, 110.5, 113.75, 112,   106.5, 103,    100.25, 97.75, 95.5,
                                     99,    104.25, 108, 106,    101.5, 97.25, 99.5,  103.75, 107.25, 104};

struct KindCase {
    std::string_view kind;
    std::size_t warmup;
    std::size_t first;  // first bar with a value
    std::vector<std::string_view> names;
    std::map<std::size_t, std::vector<double>> at;  // bar -> outputs
};

const std::vector<KindCase> kCases = {
    {"FibRetracement", 2, 10,
     {"level_0", "level_236", "level_382", "level_500", "level_618", "level_786", "level_1000"},
     {{10, {95.75, 99.585, 101.9575, 103.875, 105.7925, 108.52250000000001, 112.0}},
      {15, {114.5, 110.075, 107.3375, 105.125, 102.9125, 99.7625, 95.75}},
      {22, {94.75, 99.411, 102.2945, 104.625, 106.9555, 110.2735, 114.5}},
      {24, {108.75, 105.446, 103.402, 101.75, 100.098, 97.746, 94.75}},
      {29, {96.5, 99.391, 101.1795, 102.625, 104.0705, 106.1285, 108.75}}}},
    {"FibExtension", 2, 10,
     {"level_1272", "level_1414", "level_1618", "level_2000", "level_2618"},
     {{10, {91.33, 89.02250000000001, 85.7075, 79.5, 69.45750000000001}},
      {15, {119.6, 122.2625, 126.0875, 133.25, 144.8375}},
      {22, {89.378, 86.5735, 82.5445, 75.0, 62.7945}},
      {24, {112.55799999999999, 114.54599999999999, 117.402, 122.75, 131.402}},
      {29, {93.168, 91.4285, 88.92949999999999, 84.25, 76.6795}}}},
    {"GoldenPocket", 2, 10,
     {"low", "mid", "high"},
     {{10, {105.7925, 106.05250000000001, 106.3125}},
      {15, {102.3125, 102.6125, 102.9125}},
      {22, {106.9555, 107.2715, 107.5875}},
      {24, {99.65, 99.874, 100.098}},
      {29, {104.0705, 104.26650000000001, 104.4625}}}},
    {"FibFan", 2, 10,
     {"fan_382", "fan_500", "fan_618"},
     {{10, {97.9405, 100.625, 103.3095}},
      {15, {111.9725, 108.875, 105.7775}},
      {22, {96.19175, 99.6875, 103.18325}},
      {24, {109.17, 106.41666666666667, 103.66333333333333}},
      {29, {91.0855, 94.45833333333333, 97.83116666666666}}}},
    {"FibArcs", 2, 10,
     {"arc_382", "arc_500", "arc_618"},
     {{10, {101.43926772528768, 103.19668550430325, 104.9541032833188}},
      {15, {107.93546031697576, 105.9076705719578, 103.87988082693984}},
      {22, {101.2837286588517, 103.30200086237133, 105.32027306589097}},
      {24, {104.76383615211037, 103.53250805250049, 102.3011799528906}},
      {29, {96.5, 96.5, 96.5}}}},  // four bars after a swing of three: on the pivot
    {"FibTimeZones", 2, 5,
     {"on_zone", "bars_to_next"},
     {{5, {1.0, 1.0}}, {15, {1.0, 1.0}}, {22, {1.0, 2.0}}, {24, {1.0, 1.0}}, {29, {0.0, 1.0}}}},
    {"FibProjection", 3, 15,
     {"level_618", "level_1000", "level_1618", "level_2618"},
     {{15, {104.4575, 98.25, 88.2075, 71.95750000000001}},
      {22, {106.3375, 113.5, 125.0875, 143.8375}},
      {24, {96.5445, 89.0, 76.7945, 57.0445}},
      {29, {105.152, 110.5, 119.152, 133.152}}}},
    {"FibChannel", 3, 15,
     {"base", "level_618", "level_1000", "level_1618"},
     {{15, {115.0, 104.185, 97.5, 86.685}},
      {22, {94.47727272727273, 106.34568181818182, 113.68181818181819, 125.55022727272728}},
      {24, {107.47222222222223, 97.63572222222223, 91.55555555555556, 81.71905555555556}},
      {29, {97.66666666666667, 105.77791666666667, 110.79166666666667, 118.90291666666667}}}},
    {"AutoFib", 2, 10,
     {"level_0", "level_236", "level_382", "level_500", "level_618", "level_786", "level_1000"},
     {{10, {95.75, 99.585, 101.9575, 103.875, 105.7925, 108.52250000000001, 112.0}},
      {15, {114.5, 110.075, 107.3375, 105.125, 102.9125, 99.7625, 95.75}},
      {22, {94.75, 99.411, 102.2945, 104.625, 106.9555, 110.2735, 114.5}},
      // The largest swing (114.5 -> 94.75) stays chosen after smaller ones.
      {24, {94.75, 99.411, 102.2945, 104.625, 106.9555, 110.2735, 114.5}},
      {29, {94.75, 99.411, 102.2945, 104.625, 106.9555, 110.2735, 114.5}}}},
    {"FibConfluence", 3, 15,
     {"price", "strength"},
     {{15, {103.9325, 5.0}},
      {22, {104.54166666666667, 9.0}},
      {24, {104.18427272727273, 11.0}},
      {29, {103.58188461538461, 13.0}}}},
};

void expect_outputs(const Indicator& k, const std::vector<std::string_view>& names, const std::vector<double>& v,
                    std::string_view kind, std::size_t bar) {
    auto out = k.outputs();
    ASSERT_EQ(out.size(), names.size()) << kind;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(out[i].name, names[i]) << kind;
        EXPECT_EQ(out[i].value, v[i]) << kind << " bar " << bar << " " << names[i];
    }
}

std::unique_ptr<Indicator> run_flat(std::string_view kind, const std::vector<double>& prices) {
    auto k = make(kind);
    for (double p : prices) k->update(span(p, p));
    return k;
}

}  // namespace

TEST(FibonacciTools, LevelsAlongASwingingPath) {
    for (const auto& c : kCases) {
        auto k = make(c.kind);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->warmup_period(), c.warmup) << c.kind;
        for (std::size_t bar = 0; bar < kCloses.size(); ++bar) {
            auto v = k->update(span(kCloses[bar] + 0.75, kCloses[bar] - 0.75));
            if (bar < c.first) {
                EXPECT_FALSE(v.has_value()) << c.kind << " bar " << bar;
                EXPECT_TRUE(k->outputs().empty()) << c.kind;
                continue;
            }
            ASSERT_TRUE(v.has_value()) << c.kind << " bar " << bar;
            EXPECT_EQ(*v, k->outputs()[0].value);
            auto it = c.at.find(bar);
            if (it != c.at.end()) expect_outputs(*k, c.names, it->second, c.kind, bar);
        }
        // A candle that fails the checks keeps the stored levels.
        FeedSnapshot bad = span(100, 99);
        bad.candle.volume = std::numeric_limits<double>::infinity();
        EXPECT_FALSE(k->update(bad).has_value());
        expect_outputs(*k, c.names, c.at.rbegin()->second, c.kind, kCloses.size());
    }
}

TEST(FibonacciTools, WorkedCases) {
    // Swing high 100, then swing low 80.
    auto r = run_flat("FibRetracement", {100, 80});
    EXPECT_TRUE(r->outputs().empty());
    auto v = r->update(span(100, 100));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 80.0);
    expect_outputs(*r, kCases[0].names, {80, 84.72, 87.64, 90, 92.36, 95.72, 100}, "FibRetracement", 2);

    // Two swings of equal size: the newer one (80 -> 100) is taken.
    auto a = run_flat("AutoFib", {100, 80, 100, 80});
    expect_outputs(*a, kCases[0].names, {100, 95.28, 92.36, 90, 87.64, 84.28, 80}, "AutoFib", 3);

    // Swings 100 -> 10 -> 200: no level lies within 3% of another, so the winning
    // cluster is the last level alone, 200 + 0.618 x (10 - 200).
    auto c = run_flat("FibConfluence", {100, 10, 200, 100});
    expect_outputs(*c, {"price", "strength"}, {82.58, 1.0}, "FibConfluence", 3);
}
