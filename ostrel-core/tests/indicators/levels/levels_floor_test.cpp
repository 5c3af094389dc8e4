// Floor pivot levels: each kind against values worked out independently for a
// rising and a falling candle, the worked example, and the degenerate candles.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using levels_support::candle;

std::unique_ptr<Indicator> make(std::string_view kind) {
    const std::vector<double> surplus = {7, 7};  // ignored
    auto r = build_indicator(kind, surplus);
    if (!r) {
        ADD_FAILURE() << r.error().display();
        return nullptr;
    }
    return std::move(*r);
}

struct LevelRow {
    std::string_view kind;
    std::vector<std::string_view> names;
    std::vector<double> up;    // candle 101.3, 104.7, 99.85, 103.15
    std::vector<double> down;  // candle 103.15, 104.7, 99.85, 101.3
};

const std::vector<LevelRow> kTable = {
    {"ClassicPivots",
     {"pp", "r1", "r2", "r3", "s1", "s2", "s3"},
     {102.56666666666668, 105.28333333333336, 107.41666666666669, 110.13333333333337, 100.43333333333335,
      97.71666666666667, 95.58333333333334},
     {101.95, 104.05000000000001, 106.80000000000001, 108.90000000000002, 99.2, 97.1, 94.35}},
    {"WoodiePivots",
     {"pp", "r1", "r2", "s1", "s2"},
     {102.7125, 105.57500000000002, 107.56250000000001, 100.72500000000001, 97.8625},
     {101.7875, 103.725, 106.6375, 98.87499999999999, 96.93749999999999}},
    {"FibonacciPivots",
     {"pp", "r1", "r2", "r3", "s1", "s2", "s3"},
     {102.56666666666668, 104.41936666666668, 105.56396666666669, 107.41666666666669, 100.71396666666668,
      99.56936666666667, 97.71666666666667},
     {101.95, 103.8027, 104.94730000000001, 106.80000000000001, 100.0973, 98.9527, 97.1}},
    {"Camarilla",
     {"pp", "r1", "r2", "r3", "r4", "s1", "s2", "s3", "s4"},
     {102.56666666666668, 103.59458333333335, 104.03916666666667, 104.48375000000001, 105.81750000000001,
      102.70541666666666, 102.26083333333334, 101.81625, 100.4825},
     {101.95, 101.74458333333334, 102.18916666666667, 102.63375, 103.9675, 100.85541666666666, 100.41083333333333,
      99.96624999999999, 98.6325}},
    {"DemarkPivots", {"pp", "r1", "s1"}, {103.1, 106.35, 101.49999999999999}, {101.425, 103.0, 98.14999999999999}},
    {"CentralPivotRange",
     {"pivot", "tc", "bc"},
     {102.56666666666668, 102.85833333333335, 102.275},
     {101.95, 102.275, 101.625}},
};

void expect_outputs(const Indicator& k, const std::vector<std::string_view>& names, const std::vector<double>& v,
                    std::string_view kind) {
    auto out = k.outputs();
    ASSERT_EQ(out.size(), names.size()) << kind;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(out[i].name, names[i]) << kind;
        EXPECT_EQ(out[i].value, v[i]) << kind << " " << names[i];
    }
}

}  // namespace

TEST(FloorPivots, LevelsOfEachCandle) {
    for (const auto& e : kTable) {
        auto k = make(e.kind);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->warmup_period(), 1u);
        EXPECT_TRUE(k->outputs().empty());
        EXPECT_EQ(k->update(candle(101.3, 104.7, 99.85, 103.15)), e.up[0]) << e.kind;
        expect_outputs(*k, e.names, e.up, e.kind);
        // A candle that fails the checks keeps the last levels.
        EXPECT_FALSE(k->update(candle(101.3, 99.0, 99.85, 103.15)).has_value());
        expect_outputs(*k, e.names, e.up, e.kind);
        // No history: each candle's levels are its own.
        EXPECT_EQ(k->update(candle(103.15, 104.7, 99.85, 101.3)), e.down[0]) << e.kind;
        expect_outputs(*k, e.names, e.down, e.kind);
    }
}

TEST(FloorPivots, WorkedCases) {
    auto classic = make("ClassicPivots");
    ASSERT_TRUE(classic);
    EXPECT_EQ(classic->update(candle(9, 12, 8, 10)), 10.0);
    expect_outputs(*classic, kTable[0].names, {10, 12, 14, 16, 8, 6, 4}, "ClassicPivots");

    // A doji weighs the close twice: X = 12 + 8 + 20.
    auto demark = make("DemarkPivots");
    ASSERT_TRUE(demark);
    EXPECT_EQ(demark->update(candle(10, 12, 8, 10)), 10.0);
    expect_outputs(*demark, {"pp", "r1", "s1"}, {10, 12, 8}, "DemarkPivots");

    // The central range's top is the larger of the mirror and the midpoint, so the two
    // swap roles when the close is below the midpoint.
    auto cpr = make("CentralPivotRange");
    ASSERT_TRUE(cpr);
    cpr->update(candle(9, 12, 8, 11));
    expect_outputs(*cpr, {"pivot", "tc", "bc"}, {10.333333333333334, 10.666666666666668, 10.0}, "CentralPivotRange");
    cpr->update(candle(11, 12, 8, 9));
    expect_outputs(*cpr, {"pivot", "tc", "bc"}, {9.666666666666666, 10.0, 9.333333333333332}, "CentralPivotRange");
}

TEST(FloorPivots, FlatCandleGivesThePriceEverywhere) {
    for (const auto& e : kTable) {
        auto k = make(e.kind);
        ASSERT_TRUE(k);
        k->update(candle(42.5, 42.5, 42.5, 42.5));
        for (const auto& o : k->outputs()) EXPECT_EQ(o.value, 42.5) << e.kind << " " << o.name;
    }
}
