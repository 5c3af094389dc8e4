#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/pattern_support.hpp"

using namespace ostrel;
using namespace pattern_support;

namespace {

struct KindSpan {
    std::string_view name;
    std::size_t span;  // candles of the formation = warm-up
};

const std::vector<KindSpan> kFixedKinds = {
    {"Doji", 1}, {"LongLeggedDoji", 1}, {"GravestoneDoji", 1}, {"DragonflyDoji", 1}, {"HighWave", 1},
    {"Hammer", 1}, {"HangingMan", 1}, {"InvertedHammer", 1}, {"ClosingMarubozu", 1}, {"BeltHold", 1},
    {"Marubozu", 1}, {"OpeningMarubozu", 1}, {"SpinningTop", 1}, {"ShootingStar", 1}, {"Takuri", 1},
    {"RickshawMan", 1},
    {"Engulfing", 2}, {"Harami", 2}, {"HaramiCross", 2}, {"HomingPigeon", 2}, {"Kicking", 2},
    {"KickingByLength", 2}, {"DojiStar", 2}, {"InNeck", 2}, {"Counterattack", 2}, {"Tweezer", 2},
    {"Thrusting", 2}, {"OnNeck", 2}, {"PiercingDarkCloud", 2}, {"SeparatingLines", 2}, {"MatchingLow", 2},
    {"AbandonedBaby", 3}, {"EveningDojiStar", 3}, {"DownsideGapThreeMethods", 3}, {"GapSideBySideWhite", 3},
    {"AdvanceBlock", 3}, {"IdenticalThreeCrows", 3}, {"Hikkake", 3}, {"MorningEveningStar", 3},
    {"MorningDojiStar", 3}, {"Tristar", 3}, {"TowerTopBottom", 3}, {"ThreeStarsInSouth", 3},
    {"UniqueThreeRiver", 3}, {"StickSandwich", 3}, {"StalledPattern", 3}, {"TwoCrows", 3},
    {"UpsideGapTwoCrows", 3}, {"UpsideGapThreeMethods", 3}, {"TasukiGap", 3}, {"ThreeSoldiersOrCrows", 3},
    {"ThreeOutside", 3}, {"ThreeInside", 3},
    {"ConcealingBabySwallow", 4}, {"HikkakeModified", 4}, {"ThreeLineStrike", 4},
    {"Breakaway", 5}, {"FallingThreeMethods", 5}, {"LadderBottom", 5}, {"RisingThreeMethods", 5}, {"MatHold", 5},
};

const std::vector<std::string_view> kBearishOnly = {
    "GravestoneDoji", "HangingMan", "ShootingStar", "InNeck", "Thrusting", "OnNeck", "EveningDojiStar",
    "DownsideGapThreeMethods", "AdvanceBlock", "IdenticalThreeCrows", "StalledPattern", "TwoCrows",
    "UpsideGapTwoCrows", "FallingThreeMethods", "DumplingTop"};
const std::vector<std::string_view> kBullishOnly = {
    "Doji", "LongLeggedDoji", "DragonflyDoji", "HighWave", "Hammer", "InvertedHammer", "Takuri", "RickshawMan",
    "HomingPigeon", "MatchingLow", "ConcealingBabySwallow", "LadderBottom", "MorningDojiStar",
    "ThreeStarsInSouth", "UniqueThreeRiver", "StickSandwich", "UpsideGapThreeMethods", "RisingThreeMethods",
    "MatHold", "FryPanBottom"};

bool contains(const std::vector<std::string_view>& v, std::string_view s) {
    for (auto x : v)
        if (x == s) return true;
    return false;
}

// Choppy candles on a quarter-point grid (so that ties and equal prices happen), with
// an invalid candle every seventh bar.
std::vector<Candle> choppy_stream(std::size_t n) {
    std::vector<Candle> out;
    std::uint64_t s = 0x9e3779b97f4a7c15ull;
    auto next = [&s](int m) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(m));
    };
    double base = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 7 == 6) {
            out.push_back(K(base, base - 1, base, base));  // high below low
            continue;
        }
        base += 0.25 * (next(9) - 4);
        double o = base + 0.25 * (next(9) - 4);
        double c = base + 0.25 * (next(9) - 4);
        double h = std::max(o, c) + 0.25 * next(4);
        double l = std::min(o, c) - 0.25 * next(4);
        out.push_back(K(o, h, l, c));
    }
    return out;
}

}  // namespace

// Every kind: no value during the warm-up, a code on every valid candle after it,
// nothing for an invalid candle, and only the directions the kind knows.
TEST(PatternConventions, EveryKindCodesEveryValidCandleAfterWarmup) {
    auto stream = choppy_stream(3000);
    std::vector<KindSpan> all = kFixedKinds;
    all.push_back({"LongLine", 6});
    all.push_back({"ShortLine", 6});
    ASSERT_EQ(all.size() + 2, 65u);
    for (const auto& [kind, first_value_at] : all) {
        auto ind = make(kind);
        ASSERT_TRUE(ind) << kind;
        std::size_t valid = 0;
        int seen_bull = 0, seen_bear = 0;
        for (const Candle& c : stream) {
            auto v = ind->update(bar(c));
            if (!c.is_valid()) {
                EXPECT_FALSE(v.has_value()) << kind;
                continue;
            }
            ++valid;
            if (valid < first_value_at) {
                EXPECT_FALSE(v.has_value()) << kind << " valid candle " << valid;
                continue;
            }
            ASSERT_TRUE(v.has_value()) << kind << " valid candle " << valid;
            EXPECT_TRUE(*v == 1.0 || *v == -1.0 || *v == 0.0) << kind;
            seen_bull += *v == 1.0;
            seen_bear += *v == -1.0;
            EXPECT_TRUE(ind->outputs().empty()) << kind;
        }
        if (contains(kBearishOnly, kind)) {
            EXPECT_EQ(seen_bull, 0) << kind;
        }
        if (contains(kBullishOnly, kind)) {
            EXPECT_EQ(seen_bear, 0) << kind;
        }
    }
}

TEST(PatternConventions, WarmupPeriods) {
    for (const auto& [kind, span] : kFixedKinds) {
        auto ind = make(kind);
        ASSERT_TRUE(ind) << kind;
        EXPECT_EQ(ind->warmup_period(), span) << kind;
    }
    // The look-back length, although the first value comes one candle later.
    EXPECT_EQ(make("LongLine")->warmup_period(), 5u);
    EXPECT_EQ(make("ShortLine")->warmup_period(), 5u);
    EXPECT_EQ(make("DumplingTop", {7})->warmup_period(), 7u);
    EXPECT_EQ(make("FryPanBottom", {5})->warmup_period(), 5u);
}

TEST(PatternConventions, ParameterlessKindsAcceptAnyList) {
    const std::vector<double> junk = {std::nan(""), -3.5, 1e300};
    std::vector<KindSpan> all = kFixedKinds;
    all.push_back({"LongLine", 6});
    all.push_back({"ShortLine", 6});
    for (const auto& [kind, span] : all) {
        EXPECT_TRUE(build_indicator(kind, {})) << kind;
        EXPECT_TRUE(build_indicator(kind, junk)) << kind;
    }
}

// Every candle check refuses the candle without touching the history: the two valid
// candles around it are still tested as neighbours.
TEST(PatternConventions, InvalidCandleLeavesHistoryAlone) {
    const double inf = std::numeric_limits<double>::infinity();
    const Candle black = K(10, 11, 7, 8), white = K(8, 12, 7.5, 11);
    std::vector<Candle> bad = {
        K(std::nan(""), 11, 7, 8),  // prices finite
        K(10, 11, 7, 8),            // volume finite (set below)
        K(10, 11, 7, 8),            // volume non-negative (set below)
        K(10, 7, 11, 8),            // high >= low
        K(12, 11, 7, 8),            // high >= open
        K(10, 11, 9, 8),            // low <= close
        K(10, inf, 7, 8),
    };
    bad[1].volume = std::nan("");
    bad[2].volume = -1.0;
    for (const Candle& b : bad) {
        ASSERT_FALSE(b.is_valid());
        auto ind = make("Engulfing");
        EXPECT_FALSE(ind->update(bar(black)).has_value());
        EXPECT_FALSE(ind->update(bar(b)).has_value());
        EXPECT_EQ(ind->update(bar(white)), std::optional<double>(1.0));
        auto one = make("Doji");
        EXPECT_FALSE(one->update(bar(b)).has_value());
    }
    // An invalid candle during the warm-up does not count towards it.
    auto ind = make("Hikkake");
    EXPECT_FALSE(ind->update(bar(K(12, 14, 8, 10))).has_value());
    EXPECT_FALSE(ind->update(bar(bad[3])).has_value());
    EXPECT_FALSE(ind->update(bar(K(11, 13, 9, 12))).has_value());
    EXPECT_EQ(ind->update(bar(K(10, 12, 7, 8))), std::optional<double>(1.0));
}

// The history shifts on every valid candle whatever the outcome, so overlapping
// formations are all found.
TEST(PatternConventions, HistoryShiftsOnEveryValidCandle) {
    auto ind = make("Engulfing");
    EXPECT_FALSE(ind->update(bar(K(10, 11, 7, 8))).has_value());
    EXPECT_EQ(ind->update(bar(K(8, 12, 7.5, 11))), std::optional<double>(1.0));
    EXPECT_EQ(ind->update(bar(K(12.75, 13, 7, 7.5))), std::optional<double>(-1.0));
    EXPECT_EQ(ind->update(bar(K(7.5, 8, 7, 7.75))), std::optional<double>(0.0));

    auto three = make("Tristar");
    const Candle d1 = K(10, 10.5, 9.5, 10), d2 = K(9, 9.25, 8.75, 9), d3 = K(9.5, 10, 9, 9.5);
    EXPECT_FALSE(three->update(bar(d1)).has_value());
    EXPECT_FALSE(three->update(bar(d2)).has_value());
    EXPECT_EQ(three->update(bar(d3)), std::optional<double>(1.0));
    // Candles 2, 3 and a new doji: 9.5 sits above 9, so candle 2 of this window is above.
    EXPECT_EQ(three->update(bar(K(9, 9.25, 8.75, 9))), std::optional<double>(-1.0));
}

TEST(PatternConventions, RoundedTurnConstruction) {
    auto err = [](std::string_view kind, std::vector<double> p) {
        auto r = build_indicator(kind, p);
        return r ? std::string("built") : r.error().display();
    };
    const std::string dt = "invalid parameters for indicator DumplingTop: ";
    const std::string fp = "invalid parameters for indicator FryPanBottom: ";
    EXPECT_EQ(err("DumplingTop", {4}), dt + "invalid period: dumpling top needs period >= 5");
    EXPECT_EQ(err("DumplingTop", {1e-20}), dt + "invalid period: dumpling top needs period >= 5");
    EXPECT_EQ(err("DumplingTop", {5}), "built");
    EXPECT_EQ(err("DumplingTop", {4.5}), dt + "parameter #0 must be a positive integer, got 4.5");
    EXPECT_EQ(err("DumplingTop", {}), dt + "missing parameter #0");
    EXPECT_EQ(err("DumplingTop", {16777216}), "built");  // exactly MAX_PERIOD
    EXPECT_EQ(err("DumplingTop", {16777217}),
              dt + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ(err("FryPanBottom", {1}), fp + "invalid period: frying pan bottom needs period >= 5");
    EXPECT_EQ(err("FryPanBottom", {1e-20}), fp + "invalid period: frying pan bottom needs period >= 5");
    EXPECT_EQ(err("FryPanBottom", {16777216}), "built");
    EXPECT_EQ(err("FryPanBottom", {16777217}),
              fp + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ(err("FryPanBottom", {1e300}),
              fp + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ(err("FryPanBottom", {5, 99}), "built");
}
