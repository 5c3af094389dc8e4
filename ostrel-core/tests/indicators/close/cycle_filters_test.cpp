// Recursive cycle filters: construction checks, the listed edge cases, and values
// from an independent model of the filter rules.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/close_series_support.hpp"
#include "indicators/core/cycle_filters.hpp"

using namespace closetest;

namespace {

std::string invalid_period(const char* detail) { return std::string("invalid period: ") + detail; }

}  // namespace

TEST(CycleFilterConstruction, PeriodChecks) {
    const std::string zero = "period must be greater than zero";
    for (const char* k : {"SuperSmoother", "HighpassFilter", "Decycler", "Reflex", "Trendflex", "InstantaneousTrendline",
                          "CyberneticCycle"}) {
        EXPECT_EQ(build_error(k, {16777216}), "built") << k;
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, zero)) << k;
        EXPECT_EQ(build_error(k, {}), params_error(k, "missing parameter #0")) << k;
    }
    EXPECT_EQ(build_error("BandpassFilter", {16777217, 0.5}), params_error("BandpassFilter", kMaxText));
    EXPECT_EQ(build_error("BandpassFilter", {20}), params_error("BandpassFilter", "missing parameter #1"));
}

TEST(CycleFilterConstruction, OwnChecksInOrder) {
    const std::string zero = "period must be greater than zero";
    const std::string order = invalid_period("fast period must be strictly less than slow period");
    EXPECT_EQ(build_error("DecyclerOscillator", {1e-20, 1e-20}), params_error("DecyclerOscillator", zero));
    EXPECT_EQ(build_error("DecyclerOscillator", {30, 30}), params_error("DecyclerOscillator", order));
    EXPECT_EQ(build_error("DecyclerOscillator", {40, 30}), params_error("DecyclerOscillator", order));
    EXPECT_EQ(build_error("DecyclerOscillator", {16777218, 16777217}), params_error("DecyclerOscillator", order));
    EXPECT_EQ(build_error("DecyclerOscillator", {10, 16777217}), params_error("DecyclerOscillator", kMaxText));
    EXPECT_EQ(build_error("DecyclerOscillator", {10, 16777216}), "built");

    const std::string lp = invalid_period("lp_period must be strictly less than hp_period");
    EXPECT_EQ(build_error("RoofingFilter", {10, 10}), params_error("RoofingFilter", lp));
    EXPECT_EQ(build_error("RoofingFilter", {48, 10}), params_error("RoofingFilter", lp));
    EXPECT_EQ(build_error("RoofingFilter", {10, 1e-20}), params_error("RoofingFilter", zero));
    EXPECT_EQ(build_error("RoofingFilter", {16777217, 16777218}), params_error("RoofingFilter", kMaxText));
    EXPECT_EQ(build_error("RoofingFilter", {10, 1e12}), "built");  // the high-pass length is not bounded

    EXPECT_EQ(build_error("EvenBetterSinewave", {1e-20, 10}), params_error("EvenBetterSinewave", zero));
    EXPECT_EQ(build_error("EvenBetterSinewave", {40, 16777217}), params_error("EvenBetterSinewave", kMaxText));
    EXPECT_EQ(build_error("EvenBetterSinewave", {1e12, 10}), "built");

    const std::string bw = "invalid parameter: bandpass bandwidth must be in (0, 1)";
    for (double b : {0.0, -0.0, -0.2, 1.0, 1.5}) EXPECT_EQ(build_error("BandpassFilter", {20, b}), params_error("BandpassFilter", bw)) << b;
    EXPECT_EQ(build_error("BandpassFilter", {1e-20, 2.0}), params_error("BandpassFilter", zero));  // period first
    EXPECT_EQ(build_error("BandpassFilter", {20, 0.999}), "built");
}

TEST(CycleFilterEdges, SuperSmootherPassesTwoInputsAndHoldsAConstant) {
    EXPECT_EQ(run("SuperSmoother", {10}, {7.0, -3.5, 1.0})[0], 7.0);
    EXPECT_EQ(run("SuperSmoother", {10}, {7.0, -3.5, 1.0})[1], -3.5);
    // c1 + c2 + c3 = 1: a constant stays (up to the rounding of three products).
    for (auto v : run("SuperSmoother", {25}, std::vector<double>(60, 100.0))) EXPECT_NEAR(*v, 100.0, 1e-12);
    // The coefficients of length 10 are the fixed prefilter constants.
    auto s = ostrel::core::SuperSmoother::over(10.0);
    EXPECT_EQ(s.c1, 0.2531948016118099);
    EXPECT_EQ(s.c2, 1.1580458998309644);
    EXPECT_EQ(s.c3, -0.4112407014427743);
    EXPECT_EQ(ostrel::core::OnePoleHighpass::over(48.0).alpha1, 0.1230235370072432);
}

TEST(CycleFilterEdges, HighpassFamilyOnAConstant) {
    const std::vector<double> flat(30, 42.5);
    for (auto v : run("HighpassFilter", {20}, flat)) EXPECT_EQ(v, 0.0);
    for (auto v : run("Decycler", {20}, flat)) EXPECT_EQ(v, 42.5);
    for (auto v : run("DecyclerOscillator", {10, 30}, flat)) EXPECT_EQ(v, 0.0);
    auto hp = run("HighpassFilter", {20}, {1.0, 5.0, 2.0});
    EXPECT_EQ(hp[0], 0.0);
    EXPECT_EQ(hp[1], 0.0);
    EXPECT_NE(hp[2], 0.0);
    auto bp = run("BandpassFilter", {20, 0.3}, {1.0, 5.0, 2.0});
    EXPECT_EQ(bp[0], 0.0);
    EXPECT_EQ(bp[1], 0.0);
    EXPECT_NE(bp[2], 0.0);
    EXPECT_EQ(run("RoofingFilter", {10, 48}, {1.0, 5.0})[0], 0.0);
}

TEST(CycleFilterEdges, HandWorkedFirstValues) {
    // Two-pole high-pass of 4: w = 0.707 * 2 pi / 4, alpha = (cos w + sin w - 1) / cos w.
    const double w = 4.442212012175967 / 4.0;
    const double a = (std::cos(w) + std::sin(w) - 1.0) / std::cos(w);
    const double k = 1.0 - a / 2.0;
    EXPECT_EQ(run("HighpassFilter", {4}, {1, 5, 2})[2], (k * k) * ((2.0 - 10.0) + 1.0));
    EXPECT_EQ(run("Decycler", {4}, {1, 5, 2})[2], 2.0 - (k * k) * ((2.0 - 10.0) + 1.0));

    // InstantaneousTrendline: (x + 2 x1' + x2') / 4 for six closes, the first equal to the close.
    auto it = run("InstantaneousTrendline", {20}, {0.1, 0.7, 0.4});
    EXPECT_EQ(it[0], 0.1);
    EXPECT_EQ(it[1], (0.7 + 2.0 * 0.1 + 0.7) / 4.0);
    EXPECT_EQ(it[2], (0.4 + 2.0 * 0.7 + 0.1) / 4.0);
    for (double c : {123.456, -7.25, 1e-300, 3e300}) EXPECT_EQ(run("InstantaneousTrendline", {5}, {c})[0], c);

    // CyberneticCycle: a quarter of the second difference until its history exists.
    // From the third update the smooth and cycle histories exist and the high-pass
    // runs (the smooth is still the close itself until three earlier closes exist).
    auto cc = run("CyberneticCycle", {10}, {3.0, 8.0, 4.0});
    EXPECT_EQ(cc[0], 0.0);
    EXPECT_EQ(cc[1], (8.0 - 6.0 + 8.0) / 4.0);
    const double ca = 2.0 / 11.0;
    const double ck = 1.0 - ca / 2.0;
    const double cg = 1.0 - ca;
    EXPECT_EQ(cc[2], (ck * ck) * ((4.0 - 2.0 * 8.0) + 3.0) + 2.0 * cg * 2.5 - (cg * cg) * 0.0);
}

TEST(CycleFilterEdges, WarmupsAndConstants) {
    for (const auto& [kind, params] : std::vector<std::pair<std::string, std::vector<double>>>{
             {"SuperSmoother", {10}}, {"HighpassFilter", {20}}, {"Decycler", {20}}, {"DecyclerOscillator", {10, 30}},
             {"BandpassFilter", {20, 0.3}}, {"RoofingFilter", {10, 48}}, {"EvenBetterSinewave", {40, 10}},
             {"Reflex", {4}}, {"Trendflex", {4}}, {"Reflex", {20}}, {"InstantaneousTrendline", {20}},
             {"CyberneticCycle", {10}}}) {
        expect_warmup(kind, params);
        expect_skips_non_finite(kind, params);
    }
    EXPECT_EQ(make("EvenBetterSinewave", {40, 10})->warmup_period(), 3u);
    EXPECT_EQ(make("Reflex", {4})->warmup_period(), 5u);
    EXPECT_EQ(make("Trendflex", {4})->warmup_period(), 5u);
    // On a constant series the high-passed power is 0 and the flex sums are 0 (for
    // the flex kinds, as long as the smoother reproduces the constant exactly).
    for (auto v : run("EvenBetterSinewave", {40, 10}, std::vector<double>(40, 99.5))) EXPECT_TRUE(!v || *v == 0.0);
    const std::vector<double> flat(40, 64.0);
    for (const char* k : {"Reflex", "Trendflex"}) {
        auto v = run(k, {4}, flat);
        EXPECT_FALSE(v[3]) << k;
        for (std::size_t i = 4; i < v.size(); ++i) EXPECT_EQ(v[i], 0.0) << k;
    }
}

TEST(CycleFilterEdges, EvenBetterSinewaveStaysWithinOne) {
    auto v = run("EvenBetterSinewave", {40, 10}, series(300));
    for (std::size_t i = 2; i < v.size(); ++i) {
        EXPECT_GE(*v[i], -1.0);
        EXPECT_LE(*v[i], 1.0);
    }
    // A step of the close makes the three filtered values share one sign: the clamp holds.
    std::vector<double> step(10, 1.0);
    step.insert(step.end(), 10, 1000.0);
    for (auto x : run("EvenBetterSinewave", {40, 10}, step)) EXPECT_TRUE(!x || std::fabs(*x) <= 1.0);
}

TEST(CycleFilterEdges, ReflexAndTrendflexShareTheirStateNotTheirValue) {
    auto r = run("Reflex", {20}, series(80));
    auto t = run("Trendflex", {20}, series(80));
    EXPECT_FALSE(r[19]);
    EXPECT_FALSE(t[19]);
    // The first mean square is 0.04 m^2, so the first value is m / (0.2 |m|) = +-5.
    EXPECT_EQ(std::fabs(*r[20]), 5.0);
    EXPECT_EQ(std::fabs(*t[20]), 5.0);
    EXPECT_NE(*r[30], *t[30]);
}

// Values of an independent model of the written filter rules over series(400), at
// the 60th, 201st and 400th close.
TEST(CycleFilterValues, AgreeWithIndependentModel) {
    const struct {
        const char* kind;
        std::vector<double> params;
        double at59, at200, at399;
    } cases[] = {
        {"SuperSmoother", {10}, 94.27994219127163, 113.66040811548376, 118.32329539976838},
        {"HighpassFilter", {20}, 1.064443040646898, -5.617632590736721, 5.597824020824138},
        {"Decycler", {20}, 94.00973246144126, 114.56952637971455, 117.7428971952029},
        {"DecyclerOscillator", {10, 30}, -4.357721853200928, -5.268862010786265, 5.208428969464364},
        {"BandpassFilter", {20, 0.3}, -8.335902262185412, -4.385437184328161, 4.493456387058528},
        {"RoofingFilter", {10, 48}, -8.501630705026841, -0.9709194370767442, 1.4285000240626904},
        {"EvenBetterSinewave", {40, 10}, -0.9998074460801198, 0.42460814730018204, -0.2985624998278828},
        {"Reflex", {20}, -1.5812377623076668, 0.16258553966043374, -0.2063606796831552},
        {"Trendflex", {20}, -1.5090136593553836, 0.42537444336110686, -0.3373586444842565},
        {"InstantaneousTrendline", {20}, 99.4992679603824, 115.48525611991826, 116.90557500863827},
        {"CyberneticCycle", {10}, -2.7555126513054446, -5.953819389119555, 5.669714420415679},
    };
    for (const auto& c : cases) {
        auto v = run(c.kind, c.params, series(400));
        ASSERT_EQ(v.size(), 400u);
        EXPECT_TRUE(same_bits(*v[59], c.at59)) << c.kind << " " << *v[59];
        EXPECT_TRUE(same_bits(*v[200], c.at200)) << c.kind << " " << *v[200];
        EXPECT_TRUE(same_bits(*v[399], c.at399)) << c.kind << " " << *v[399];
    }
}

TEST(CycleFilterValues, NonFiniteHighpassGivesNothing) {
    // Closes of opposite huge sign overflow the high-pass difference: no value, and the
    // smoother is not stepped with it.
    auto v = run("RoofingFilter", {10, 48}, {1e308, -1e308});
    EXPECT_EQ(v[0], 0.0);
    EXPECT_FALSE(v[1]);
    auto e = run("EvenBetterSinewave", {40, 10}, {1e308, -1e308, 1.0});
    EXPECT_FALSE(e[1]);
}
