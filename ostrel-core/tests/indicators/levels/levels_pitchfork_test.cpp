// Andrews pitchfork: construction, the fractal pivots it keeps, and the projected
// lines against values worked out independently.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using levels_support::span;

std::unique_ptr<Indicator> make(double period) {
    const std::vector<double> p = {period};
    auto r = build_indicator("AndrewsPitchfork", p);
    if (!r) {
        ADD_FAILURE() << r.error().display();
        return nullptr;
    }
    return std::move(*r);
}

std::string build(std::vector<double> params) {
    auto r = build_indicator("AndrewsPitchfork", params);
    return r ? "built" : r.error().display();
}

void expect_lines(const Indicator& k, double median, double upper, double lower) {
    auto out = k.outputs();
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].name, "median");
    EXPECT_EQ(out[1].name, "upper");
    EXPECT_EQ(out[2].name, "lower");
    EXPECT_EQ(out[0].value, median);
    EXPECT_EQ(out[1].value, upper);
    EXPECT_EQ(out[2].value, lower);
}

}  // namespace

TEST(AndrewsPitchfork, Construction) {
    const std::string prefix = "invalid parameters for indicator AndrewsPitchfork: ";
    EXPECT_EQ(build({1e-20}), prefix + "period must be greater than zero");
    EXPECT_EQ(build({16777217}),
              prefix + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ(build({1e300}),
              prefix + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ(build({}), prefix + "missing parameter #0");
    EXPECT_EQ(build({2}), "built");
    auto k = make(2);
    ASSERT_TRUE(k);
    EXPECT_EQ(k->warmup_period(), 5u);
}

TEST(AndrewsPitchfork, LinesAlongASwingingPath) {
    // Closes of the path; each candle spans the close +- 0.75. Fractal pivots with
    // two bars on each side: 112@3 (high), 95.75@8 (low), 114.5@13 (high) known on
    // bar 15; 94.75@19 on bar 21; 108.75@22 on bar 24; 96.5@25 on bar 27.
    const std::vector<double> closes = {100,   103,   107.5, 111.25, 109,    104.5, 101.75, 99,     96.5,  98,
                                        102.25, 106, 110.5, 113.75, 112,   106.5, 103,    100.25, 97.75, 95.5,
                                        99,    104.25, 108, 106,    101.5, 97.25, 99.5,  103.75, 107.25, 104};
    struct Row {
        std::size_t bar;
        double median, upper, lower;
    };
    const std::vector<Row> rows = {
        {15, 101.0, 112.66666666666667, 89.33333333333333},
        {20, 96.41666666666667, 108.08333333333334, 84.75},
        {21, 110.171875, 123.375, 96.96875},
        {24, 95.8, 105.35, 86.25},
        {26, 92.4, 101.95, 82.85000000000001},
        {29, 112.25, 121.0, 103.5},
    };
    auto k = make(2);
    ASSERT_TRUE(k);
    std::size_t next = 0;
    for (std::size_t bar = 0; bar < closes.size(); ++bar) {
        auto v = k->update(span(closes[bar] + 0.75, closes[bar] - 0.75));
        ASSERT_EQ(v.has_value(), bar >= 15) << bar;
        if (next < rows.size() && rows[next].bar == bar) {
            EXPECT_EQ(*v, rows[next].median) << bar;
            expect_lines(*k, rows[next].median, rows[next].upper, rows[next].lower);
            ++next;
        }
    }
    EXPECT_EQ(next, rows.size());
}

TEST(AndrewsPitchfork, OutsideCandlesAreNoPivots) {
    // Window of three candles: 20@1 (high), 11@2 (low), 22@3 (high) make the first
    // fork on bar 4; the outside candle 30/5 at bar 5 is both strict extremes of its
    // window and is ignored; 27@8 and then 28@10 replace the newest high.
    const std::vector<std::pair<double, double>> bars = {
        {10, 9},  {20, 15}, {12, 11}, {22, 16}, {13, 12}, {30, 5},   {14, 13},
        {26, 17}, {27, 20}, {25, 21}, {28, 22}, {27.5, 23}, {26, 24}};
    const std::vector<double> medians = {13.0, 10.666666666666666, 8.333333333333332, 6.0, 3.6666666666666643,
                                         18.0, 17.75, 19.0, 18.9};
    auto k = make(1);
    ASSERT_TRUE(k);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        auto v = k->update(span(bars[i].first, bars[i].second));
        if (i < 4) {
            EXPECT_FALSE(v.has_value()) << i;
            continue;
        }
        ASSERT_TRUE(v.has_value()) << i;
        EXPECT_EQ(*v, medians[i - 4]) << i;
    }
    // A = 20@1, B = 11@2, C = 28@10 at t = 12: M = (6, 19.5), slope -0.1.
    expect_lines(*k, 18.9, 27.799999999999997, 10.0);
}

TEST(AndrewsPitchfork, SecondHighReplacesOnlyWhenHigher) {
    // A low 3@1, a high 20@2, then a second high X@4 with no low between, then a
    // low 14@5. With A (low), B (high), C (low): M = (3.5, 17), slope 5.6; at
    // t = 6 the median is 31, "upper" passes through B's offset +11.4 and "lower"
    // through C's -11.4.
    auto fork = [](double x) {
        auto k = make(1);
        std::optional<double> v;
        for (const auto& [h, l] : std::vector<std::pair<double, double>>{
                 {10, 5}, {8, 3}, {20, 15}, {18, 16}, {x, 17}, {15, 14}, {16, 15}})
            v = k->update(span(h, l));
        EXPECT_TRUE(v.has_value());
        return k;
    };
    expect_lines(*fork(19), 31.0, 42.4, 19.6);  // lower second high: nothing changes
    expect_lines(*fork(20), 31.0, 42.4, 19.6);  // equal second high: nothing changes
    // Higher: B becomes 21@4.
    expect_lines(*fork(21), 23.714285714285715, 29.285714285714285, 18.142857142857142);
}
