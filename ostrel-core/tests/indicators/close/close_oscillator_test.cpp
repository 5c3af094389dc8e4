// Moving-average oscillators of the close.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/close_kinds_util.hpp"

using namespace close_kinds;

namespace {
const auto none = std::nullopt;
}  // namespace

TEST(Oscillators, HandWorkedValues) {
    EXPECT_EQ(run("Apo", {2, 3}, {1, 2, 3}), (Series{none, none, 0.5}));  // fast 2.5, slow 2
    EXPECT_EQ(run("Ppo", {1, 2}, {0, 0, 0}), (Series{none, 0.0, 0.0}));   // slow average 0
    EXPECT_EQ(run("Ppo", {2, 3}, {1, 2, 3}), (Series{none, none, 0.5 * 100.0 / 2.0}));
    EXPECT_EQ(run("PpoHistogram", {1, 2, 2}, {1, 2, 4, 3}), (Series{none, none, -3.508771929824558, -10.547581073896863}));
    EXPECT_EQ(run("MacdHistogram", {2, 3, 2}, {1, 2, 4, 3, 5}),
              (Series{none, none, none, -0.22222222222222232, -0.030864197530864}));

    // Pmo: the first value is 10 x the one-bar rate of change in percent.
    EXPECT_EQ(run("Pmo", {2, 3}, {100, 110, 99, 99}),
              (Series{none, (110.0 / 100.0 + -1.0) * 100.0 * 10.0, -33.333333333333286, -11.111111111111097}));
    EXPECT_EQ(run("Pmo", {2, 2}, {0, 5}), (Series{none, 0.0}));  // a zero base gives a rate of 0

    EXPECT_EQ(run("Trix", {1}, {1, 2, 4, 3}), (Series{none, 100.0, 100.0, -25.0}));
    EXPECT_EQ(run("Trix", {2}, {2, 2, 2, 2, 2, 2}), (Series{none, none, none, none, 0.0, 0.0}));
    EXPECT_EQ(run("Trix", {1}, {0, 2}), (Series{none, 0.0}));  // previous triple average 0

    EXPECT_EQ(run("Tsi", {2, 2}, {1, 2, 4, 3, 5, 5}),
              (Series{none, none, none, 50.00000000000001, 67.44186046511626, 70.27027027027027}));
    EXPECT_EQ(run("Tsi", {2, 2}, {4, 4, 4, 4, 4}), (Series{none, none, none, 0.0, 0.0}));

    // Coppock 1, 2, 2: rates of change of 1 and 2 bars, summed, then a WMA of 2.
    EXPECT_EQ(run("Coppock", {1, 2, 2}, {1, 2, 4, 3, 6}), (Series{none, none, none, 150.0, 325.0 / 3.0}));

    EXPECT_EQ(run("DerivativeOscillator", {1, 1, 1, 2}, {1, 2, 1, 2, 4}), (Series{none, none, -50.0, 50.0, 0.0}));

    EXPECT_EQ(run("ElderImpulse", {1, 1, 2, 2}, {1, 2, 4, 8, 16, 8, 4, 2, 2}),
              (Series{none, none, none, 1.0, 1.0, -1.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(run("ElderImpulse", {3, 2, 4, 3}, std::vector<double>(12, 7.0)).back(), 0.0);

    EXPECT_EQ(run("Stc", {1, 2, 2, 0.5}, {1, 2, 4, 3, 5, 5, 6}), (Series{none, none, none, 0.0, 50.0, 25.0, 62.5}));
    EXPECT_EQ(run("Stc", {2, 3, 3, 1.0}, std::vector<double>(10, 7.0)).back(), 0.0);
}

// Values on a 300-bar path from independent reference implementations (exact).
TEST(Oscillators, ReferenceValues) {
    auto xs = path(300);
    const struct {
        const char* kind;
        std::vector<double> params;
        double at40, at120, at299;
    } cases[] = {
        {"Apo", {5, 13}, -0.6841168204718002, -0.40545436541492563, 0.36403391567030496},
        {"Ppo", {5, 13}, -0.6937476886188481, -0.3969463698253861, 0.3538738464371339},
        {"PpoHistogram", {5, 13, 4}, -0.1034494690866049, -0.21698007601919372, 0.32025808713557463},
        {"MacdHistogram", {12, 26, 9}, -0.1482331500426809, -0.354750537835015, -0.029865186685941292},
        {"Pmo", {35, 20}, -1.4547964941370433, 0.8644689872236548, 0.6461718164764707},
        {"Trix", {9}, -0.12203250323655664, 0.009494316939219247, -0.011831481781259824},
        {"Tsi", {25, 13}, -9.271414327926694, 9.69215330437721, 10.826509730021737},
        {"Coppock", {14, 11, 10}, -2.7841313588216825, -1.5265716537266345, -1.844531748024186},
        {"DerivativeOscillator", {14, 5, 3, 9}, -3.4612663824343457, -5.079963213861504, 0.8081500036995379},
        {"ElderImpulse", {13, 12, 26, 9}, 0.0, -1.0, 1.0},
    };
    for (const auto& c : cases) {
        auto got = run_with_bad_bars(c.kind, c.params, xs);
        ASSERT_EQ(got.size(), xs.size());
        EXPECT_EQ(got[40], c.at40) << c.kind;
        EXPECT_EQ(got[120], c.at120) << c.kind;
        EXPECT_EQ(got[299], c.at299) << c.kind;
    }
    auto stc = run_with_bad_bars("Stc", {23, 50, 10, 0.5}, xs);
    EXPECT_EQ(stc[40], none);
    EXPECT_EQ(stc[120], 0.09765622526896253);
    EXPECT_EQ(stc[299], 7.519093214781665);
}

// TA-Lib (EMA matype) agrees once its later seeding of the fast average has decayed.
TEST(Oscillators, AgreeWithTaLib) {
    auto xs = path(400);
    const struct {
        const char* kind;
        std::vector<double> params;
        double at120, at250, at399;
    } cases[] = {
        {"Trix", {15}, 0.10825922267612142, -0.04751478151602262, -0.06462869465134746},
        {"Apo", {12, 26}, 0.34918350386702457, -0.3615666707382985, -0.2840913977274795},
        {"Ppo", {12, 26}, 0.34305987736969656, -0.36247208513183055, -0.27486941115447866},
        {"MacdHistogram", {12, 26, 9}, -0.3547507217978003, -0.047605710601966944, 0.13458210205818893},
        {"StochRsi", {14, 14}, 0.0, 38.63967138713756, 100.0},
    };
    for (const auto& c : cases) {
        auto got = run(c.kind, c.params, xs);
        EXPECT_NEAR(*got[120], c.at120, 1e-6) << c.kind;
        EXPECT_NEAR(*got[250], c.at250, 1e-9) << c.kind;
        EXPECT_NEAR(*got[399], c.at399, 1e-9) << c.kind;
    }
}

TEST(Oscillators, WarmUpMatchesFirstValue) {
    auto xs = path(200);
    const struct {
        const char* kind;
        std::vector<double> params;
        std::size_t warmup;
    } cases[] = {
        {"Apo", {5, 13}, 13},
        {"Ppo", {5, 13}, 13},
        {"PpoHistogram", {5, 13, 4}, 16},
        {"MacdHistogram", {2, 3, 2}, 4},
        {"MacdHistogram", {12, 26, 9}, 34},
        {"Pmo", {35, 20}, 2},
        {"Trix", {9}, 26},
        {"Tsi", {25, 13}, 38},
        {"Coppock", {14, 11, 10}, 24},
        {"Coppock", {3, 11, 10}, 21},
        {"DerivativeOscillator", {14, 5, 3, 9}, 29},
        {"ElderImpulse", {13, 12, 26, 9}, 35},
        {"ElderImpulse", {40, 12, 26, 9}, 41},
        {"Stc", {23, 50, 10, 0.5}, 68},
    };
    for (const auto& c : cases) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), c.warmup) << c.kind;
        EXPECT_EQ(first_value_at(run(*ind, xs)), c.warmup) << c.kind;
        EXPECT_TRUE(ind->outputs().empty());
    }
}

TEST(Oscillators, Construction) {
    auto err = [](const char* k, std::vector<double> p) { return build_error(k, std::move(p)); };
    const std::string fast_slow = "invalid period: fast period must be strictly less than slow period";

    EXPECT_EQ(err("Apo", {2e7, 1e-20}), params_error("Apo", kZero));
    EXPECT_EQ(err("Apo", {26, 12}), params_error("Apo", "invalid period: APO fast period must be strictly less than slow"));
    EXPECT_EQ(err("Apo", {12, 12}), params_error("Apo", "invalid period: APO fast period must be strictly less than slow"));
    EXPECT_EQ(err("Apo", {12, 2e7}), params_error("Apo", kMax));

    const std::string ppo = "invalid period: PPO fast period must be < slow period";
    EXPECT_EQ(err("Ppo", {1e-20, 26}), params_error("Ppo", kZero));
    EXPECT_EQ(err("Ppo", {26, 26}), params_error("Ppo", ppo));
    EXPECT_EQ(err("Ppo", {12, 2e7}), params_error("Ppo", kMax));

    // PpoHistogram tests its signal period first.
    EXPECT_EQ(err("PpoHistogram", {26, 12}), params_error("PpoHistogram", "missing parameter #2"));
    EXPECT_EQ(err("PpoHistogram", {26, 12, 1e-20}), params_error("PpoHistogram", kZero));
    EXPECT_EQ(err("PpoHistogram", {26, 12, 2e7}), params_error("PpoHistogram", kMax));
    EXPECT_EQ(err("PpoHistogram", {1e-20, 12, 9}), params_error("PpoHistogram", kZero));
    EXPECT_EQ(err("PpoHistogram", {26, 12, 9}), params_error("PpoHistogram", ppo));
    EXPECT_EQ(err("PpoHistogram", {12, 2e7, 9}), params_error("PpoHistogram", kMax));

    EXPECT_EQ(err("MacdHistogram", {2e7, 26, 1e-20}), params_error("MacdHistogram", kZero));
    EXPECT_EQ(err("MacdHistogram", {26, 12, 9}), params_error("MacdHistogram", fast_slow));
    EXPECT_EQ(err("MacdHistogram", {12, 2e7, 9}), params_error("MacdHistogram", kMax));
    EXPECT_EQ(err("MacdHistogram", {12, 26, 2e7}), params_error("MacdHistogram", kMax));

    const std::string pmo = "invalid period: PMO smoothing periods must be >= 2";
    EXPECT_EQ(err("Pmo", {1, 1e-20}), params_error("Pmo", kZero));
    EXPECT_EQ(err("Pmo", {1, 20}), params_error("Pmo", pmo));
    EXPECT_EQ(err("Pmo", {35, 1}), params_error("Pmo", pmo));
    EXPECT_EQ(err("Pmo", {2, 2}), "built");
    EXPECT_EQ(err("Pmo", {1e300, 1e300}), "built");  // no window depends on these lengths

    EXPECT_EQ(err("Trix", {1e-20}), params_error("Trix", kZero));
    EXPECT_EQ(err("Trix", {16777217}), params_error("Trix", kMax));
    EXPECT_EQ(make("Trix", {16777216})->warmup_period(), 3u * 16777216u - 1u);

    EXPECT_EQ(err("Tsi", {25}), params_error("Tsi", "missing parameter #1"));
    EXPECT_EQ(err("Tsi", {2e7, 1e-20}), params_error("Tsi", kZero));
    EXPECT_EQ(err("Tsi", {2e7, 13}), params_error("Tsi", kMax));
    EXPECT_EQ(err("Tsi", {25, 2e7}), params_error("Tsi", kMax));

    EXPECT_EQ(err("Coppock", {2e7, 11, 1e-20}), params_error("Coppock", kZero));
    EXPECT_EQ(err("Coppock", {2e7, 11, 10}), params_error("Coppock", kMax));
    EXPECT_EQ(err("Coppock", {14, 2e7, 10}), params_error("Coppock", kMax));
    EXPECT_EQ(err("Coppock", {14, 11, 2e7}), params_error("Coppock", kMax));

    EXPECT_EQ(err("DerivativeOscillator", {2e7, 5, 3, 1e-20}), params_error("DerivativeOscillator", kZero));
    EXPECT_EQ(err("DerivativeOscillator", {2e7, 2e7, 3, 9}), params_error("DerivativeOscillator", kMax));
    EXPECT_EQ(err("DerivativeOscillator", {14, 5, 3, 2e7}), params_error("DerivativeOscillator", kMax));

    // ElderImpulse: the trend period is checked in full before the MACD periods.
    EXPECT_EQ(err("ElderImpulse", {1e-20, 26, 12, 9}), params_error("ElderImpulse", kZero));
    EXPECT_EQ(err("ElderImpulse", {2e7, 1e-20, 12, 9}), params_error("ElderImpulse", kMax));
    EXPECT_EQ(err("ElderImpulse", {13, 26, 12, 1e-20}), params_error("ElderImpulse", kZero));
    EXPECT_EQ(err("ElderImpulse", {13, 26, 12, 9}), params_error("ElderImpulse", fast_slow));
    EXPECT_EQ(err("ElderImpulse", {13, 12, 26, 2e7}), params_error("ElderImpulse", kMax));

    const std::string stc_fs = "invalid period: STC fast period must be strictly less than slow";
    const std::string stc_factor = "invalid period: STC factor must be a finite value in (0, 1]";
    EXPECT_EQ(err("Stc", {23, 50, 10}), params_error("Stc", "missing parameter #3"));
    EXPECT_EQ(err("Stc", {50, 23, 1e-20, 7}), params_error("Stc", kZero));
    EXPECT_EQ(err("Stc", {50, 23, 10, 7}), params_error("Stc", stc_fs));
    EXPECT_EQ(err("Stc", {23, 2e7, 10, 7}), params_error("Stc", stc_factor));
    EXPECT_EQ(err("Stc", {23, 50, 10, 0.0}), params_error("Stc", stc_factor));
    EXPECT_EQ(err("Stc", {23, 50, 10, -0.0}), params_error("Stc", stc_factor));
    EXPECT_EQ(err("Stc", {23, 2e7, 10, 1.0}), params_error("Stc", kMax));
    // The cycle rings are reserved at construction: bounded like any window.
    EXPECT_EQ(err("Stc", {23, 50, 1e300, 0.5}), params_error("Stc", kMax));
    EXPECT_EQ(err("Stc", {23, 50, 16777216, 0.5}), "built");
}
