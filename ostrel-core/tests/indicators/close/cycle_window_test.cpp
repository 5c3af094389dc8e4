// Window-based cycle oscillators: construction checks, the listed edge cases,
// hand-worked values and values from an independent model.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/close_series_support.hpp"

using namespace closetest;

namespace {

const auto none = std::nullopt;
const std::string kZero = "period must be greater than zero";

std::string invalid_period(const char* detail) { return std::string("invalid period: ") + detail; }

// Two cycles (about 21 and 57 bars) with a jagged component.
std::vector<double> two_cycles(std::size_t n) {
    std::vector<double> xs;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i);
        xs.push_back(100.0 + 10.0 * std::sin(0.3 * t) + 6.0 * std::sin(0.11 * t) +
                     static_cast<double>((i * 37) % 11) * 0.25);
    }
    return xs;
}

}  // namespace

TEST(CycleWindowEdges, ConstantSeries) {
    for (auto v : run("FisherTransform", {5}, std::vector<double>(12, 3.0))) EXPECT_TRUE(!v || *v == 0.0);
    for (auto v : run("EhlersStochastic", {5}, std::vector<double>(30, 77.7))) EXPECT_TRUE(!v || *v == 0.0);
    for (auto v : run("CorrelationTrendIndicator", {5}, std::vector<double>(12, 0.1))) EXPECT_TRUE(!v || *v == 0.0);
    // (period + 1) / 2 - (period + 1) / 2, exactly for a constant that divides cleanly.
    for (auto v : run("CenterOfGravity", {10}, std::vector<double>(12, 3.0))) EXPECT_TRUE(!v || *v == 0.0);
    for (auto v : run("CenterOfGravity", {10}, std::vector<double>(12, 0.1))) EXPECT_TRUE(!v || std::fabs(*v) < 1e-13);
    auto acp = run("AutocorrelationPeriodogram", {10, 48}, std::vector<double>(80, 100.0));
    EXPECT_FALSE(acp[49]);
    for (std::size_t i = 50; i < acp.size(); ++i) EXPECT_EQ(acp[i], 10.0);
}

TEST(CycleWindowEdges, HandWorkedValues) {
    EXPECT_EQ(run("CenterOfGravity", {4}, {1.0, -1.0, 2.0, -2.0}), (Values{none, none, none, 0.0}));  // sum 0
    EXPECT_EQ(run("CenterOfGravity", {3}, {1.0, 2.0, 3.0})[2], 2.0 - 10.0 / 6.0);  // newest weight 1
    EXPECT_EQ(run("CorrelationTrendIndicator", {5}, {1, 2, 3, 4, 5}), (Values{none, none, none, none, 1.0}));
    EXPECT_EQ(run("CorrelationTrendIndicator", {5}, {10, 8, 6, 4, 2})[4], -1.0);
    EXPECT_EQ(run("InverseFisherTransform", {1.0}, {0.0, 0.5}), (Values{0.0, 0.46211715726000974}));
    EXPECT_EQ(run("InverseFisherTransform", {2.0}, {-0.25})[0], std::tanh(-0.5));
    // Adaptive Laguerre of 3: while every new error is the largest of the ring, alpha
    // stays 1 and the stages shift the closes along: (x + 2 x1 + 2 x2 + x3) / 6.
    EXPECT_EQ(run("AdaptiveLaguerreFilter", {3}, {10, 11, 13, 12}),
              (Values{none, none, 65.0 / 6.0, 70.0 / 6.0}));
    // Fisher of 2 over 1, 3: pos 1, v 0.33, fisher 0.5 ln(1.33 / 0.67).
    EXPECT_EQ(run("FisherTransform", {2}, {1.0, 3.0})[1], 0.5 * std::log((1.0 + 0.33) / (1.0 - 0.33)) + 0.5 * 0.0);
    // The smoothed position is held within 0.999: a long climb saturates it.
    std::vector<double> climb;
    for (int i = 0; i < 60; ++i) climb.push_back(i);
    auto f = run("FisherTransform", {5}, climb);
    EXPECT_EQ(*f[59], 0.5 * std::log((1.0 + 0.999) / (1.0 - 0.999)) + 0.5 * *f[58]);
}

TEST(CycleWindowEdges, EhlersStochasticStaysWithinOne) {
    for (auto v : run("EhlersStochastic", {20}, two_cycles(400))) EXPECT_TRUE(!v || (*v >= -1.0 && *v <= 1.0));
}

// Values of an independent model of the written rules over series(400), at the
// 60th, 201st and 400th close.
TEST(CycleWindowValues, AgreeWithIndependentModel) {
    const struct {
        const char* kind;
        std::vector<double> params;
        double at59, at200, at399;
    } cases[] = {
        {"AdaptiveLaguerreFilter", {13}, 96.3386733769376, 119.51948450201955, 112.75119424415179},
        {"CenterOfGravity", {10}, -0.15671751395287448, -0.08417615355130703, 0.08441474645233882},
        {"CorrelationTrendIndicator", {20}, -0.5413620485754151, 0.707459367394092, -0.6790326730976676},
        {"EmpiricalModeDecomposition", {20, 0.5}, -0.13187840825366354, 0.4235777103127207, -0.3584487236249584},
        {"EhlersStochastic", {20}, -0.9893265709727881, -0.017744385843146693, -0.06389391216366702},
        {"FisherTransform", {10}, -2.6225304851399, -0.39635210767370915, 0.34793755903278084},
        {"InverseFisherTransform", {0.02}, 0.9563642813063226, 0.9747176891986855, 0.9857022943180571},
        {"AutocorrelationPeriodogram", {10, 48}, 21.390937584747906, 21.390026585909975, 21.39157785630812},
    };
    for (const auto& c : cases) {
        auto v = run(c.kind, c.params, series(400));
        EXPECT_TRUE(same_bits(*v[59], c.at59)) << c.kind << " " << *v[59];
        EXPECT_TRUE(same_bits(*v[200], c.at200)) << c.kind << " " << *v[200];
        EXPECT_TRUE(same_bits(*v[399], c.at399)) << c.kind << " " << *v[399];
    }
}

TEST(CycleWindowValues, PeriodogramWithAndWithoutItsTrigTable) {
    // (max - 2) x (max - min + 1): 64,588 pairs are tabled; 71,168 are computed per update.
    const auto xs = two_cycles(420);
    auto tabled = run("AutocorrelationPeriodogram", {30, 270}, xs);
    auto direct = run("AutocorrelationPeriodogram", {25, 280}, xs);
    EXPECT_FALSE(tabled[271]);
    EXPECT_TRUE(same_bits(*tabled[272], 59.85311190310602)) << *tabled[272];
    EXPECT_TRUE(same_bits(*tabled[380], 58.100319709129955)) << *tabled[380];
    EXPECT_EQ(tabled[419], 30.0);  // no period keeps half the decayed peak power: min_period
    EXPECT_FALSE(direct[281]);
    EXPECT_TRUE(same_bits(*direct[282], 56.5197337860284)) << *direct[282];
    EXPECT_TRUE(same_bits(*direct[380], 57.87010071928506)) << *direct[380];
    EXPECT_TRUE(same_bits(*direct[419], 57.47314433559384)) << *direct[419];
}
