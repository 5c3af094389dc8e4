// The RSI core and the RSI family of close-series kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "support/close_kinds_util.hpp"
#include "indicators/core/rsi.hpp"

using namespace close_kinds;

namespace {

const auto none = std::nullopt;

// Wilder RSI written straight from its definition, for comparison.
Series naive_rsi(std::size_t n, const std::vector<double>& xs) {
    Series out;
    double g = 0, l = 0;
    std::size_t changes = 0;
    std::optional<double> prev;
    for (double x : xs) {
        if (!prev) {
            prev = x;
            out.push_back(none);
            continue;
        }
        double c = x - *prev;
        prev = x;
        double gain = c > 0 ? c : 0.0, loss = c < 0 ? -c : 0.0;
        ++changes;
        if (changes < n) {
            g += gain;
            l += loss;
            out.push_back(none);
            continue;
        }
        if (changes == n) {
            g = (g + gain) / double(n);
            l = (l + loss) / double(n);
        } else {
            g = std::fma(g, double(n) - 1.0, gain) * (1.0 / double(n));
            l = std::fma(l, double(n) - 1.0, loss) * (1.0 / double(n));
        }
        out.push_back(g + l == 0 ? 50.0 : g * 100.0 / (g + l));
    }
    return out;
}

void expect_near_at(const Series& s, std::size_t i, double want, double tol) {
    ASSERT_LT(i, s.size());
    ASSERT_TRUE(s[i].has_value()) << "no value at " << i;
    EXPECT_NEAR(*s[i], want, tol) << "at " << i;
}

}  // namespace

TEST(RsiCore, HandWorkedValues) {
    auto r = *ostrel::core::Rsi::make(2);
    EXPECT_FALSE(r.step(1));
    EXPECT_FALSE(r.step(3));
    EXPECT_EQ(r.step(2), 100.0 / 1.5);   // seeds: gains 2, 0 and losses 0, 1 -> 1 and 0.5
    EXPECT_EQ(r.step(4), 150.0 / 1.75);  // smoothed to 1.5 and 0.25
    EXPECT_FALSE(r.step(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(r.step(4), 75.0 / 0.875);  // flat: averages 0.75 and 0.125
    EXPECT_EQ(r.warmup_period(), 3u);

    EXPECT_EQ(run("Rsi", {3}, {1, 2, 3, 4}), (Series{none, none, none, 100.0}));
    EXPECT_EQ(run("Rsi", {3}, {5, 5, 5, 5}), (Series{none, none, none, 50.0}));
    EXPECT_EQ(run("Rsi", {1}, {5, 6, 4, 4}), (Series{none, 100.0, 0.0, 50.0}));
}

TEST(RsiCore, MatchesDefinitionAndSkipsBadInput) {
    auto xs = path(400);
    EXPECT_EQ(xs[399], 103.87034164295305);  // the same path as the reference scripts
    for (std::size_t n : {1u, 2u, 14u, 50u}) EXPECT_EQ(run_with_bad_bars("Rsi", {double(n)}, xs), naive_rsi(n, xs)) << n;
    // Cross-check against TA-Lib's RSI(14) on the same path (equal up to rounding).
    auto got = run("Rsi", {14}, xs);
    expect_near_at(got, 120, 44.31738408337554, 1e-9);
    expect_near_at(got, 250, 43.48110253330681, 1e-9);
    expect_near_at(got, 399, 53.8266341625618, 1e-9);
}

TEST(RsiFamily, HandWorkedValues) {
    // Adaptive: seeded like the RSI, then moved by the efficiency-ratio constant.
    auto adaptive = run("AdaptiveRsi", {2}, {1, 2, 4, 3});
    EXPECT_EQ(adaptive, (Series{none, none, 100.0, 95.19748122097639}));
    EXPECT_EQ(run("AdaptiveRsi", {2}, {3, 3, 3, 3}), (Series{none, none, 50.0, 50.0}));

    EXPECT_EQ(run("AnchoredRsi", {}, {1, 2}), (Series{none, 100.0}));
    EXPECT_EQ(run("AnchoredRsi", {}, {1, 1}), (Series{none, 50.0}));
    EXPECT_EQ(run("AnchoredRsi", {}, {2, 1}), (Series{none, 0.0}));
    EXPECT_EQ(run("AnchoredRsi", {}, {1, 3, 2}), (Series{none, 100.0, 100.0 - 100.0 / 3.0}));

    // Connors: the bar after a close of 0 appends no return; the rank is taken over
    // the unchanged window ([1, -1], newest -1: rank 0).
    EXPECT_EQ(run("ConnorsRsi", {1, 1, 2}, {1, 2, 4, 0, 5}), (Series{none, none, 200.0 / 3.0, 0.0, 200.0 / 3.0}));

    EXPECT_EQ(run("FisherRsi", {1}, {1, 2, 1, 1}), (Series{none, 3.8002011672502, -3.8002011672502, 0.0}));

    EXPECT_EQ(run("LaguerreRsi", {0.0}, {1, 2, 3, 4, 3}), (Series{50.0, 100.0, 100.0, 100.0, 200.0 / 3.0}));
    EXPECT_EQ(run("LaguerreRsi", {1.0}, {1, 2, 3, 4, 3}), (Series{50.0, 50.0, 50.0, 50.0, 50.0}));

    // With a momentum period of 1 the RMI seeds like the RSI.
    EXPECT_EQ(run("Rmi", {2, 1}, {1, 2, 4, 3, 5}), (Series{none, none, 100.0, 60.0, 1100.0 / 13.0}));
    EXPECT_EQ(run("Rmi", {2, 2}, {1, 2, 4, 3, 5, 2}), (Series{none, none, none, 100.0, 100.0, 60.0}));

    EXPECT_EQ(run("Rsx", {3}, {1, 2, 4, 3, 5}), (Series{none, none, none, 69.78851963746224, 78.25561729886445}));

    EXPECT_EQ(run("StochRsi", {2, 2}, {1, 2, 4, 3, 5, 4}), (Series{none, none, none, 0.0, 100.0, 0.0}));
    EXPECT_EQ(run("StochRsi", {1, 3}, {1, 2, 3, 4, 5}), (Series{none, none, none, 50.0, 50.0}));
}

// Values on a 300-bar path from independent reference implementations (exact).
TEST(RsiFamily, ReferenceValues) {
    auto xs = path(300);
    struct Case {
        const char* kind;
        std::vector<double> params;
        double at40, at120, at299;
    };
    const Case cases[] = {
        {"AdaptiveRsi", {10}, 39.915274309016006, 48.62915025793992, 55.0815514961013},
        {"AnchoredRsi", {}, 46.36067122437796, 51.36845154433909, 51.69201958814118},
        {"ConnorsRsi", {3, 2, 20}, 68.6407694418875, 16.689661408424886, 85.58967355311215},
        {"FisherRsi", {14}, -0.19546347693297986, -0.11414548943812794, 0.27117203215450086},
        {"LaguerreRsi", {0.5}, 21.440223284722663, 23.989435811502883, 57.581002297045224},
        {"Rmi", {14, 5}, 26.30911253012229, 53.85647774586848, 56.71575966110836},
        {"Rsx", {14}, 36.6663943289224, 40.47617731049064, 44.26931461600356},
        {"StochRsi", {14, 14}, 33.69407793525777, 0.0, 98.45431161387815},
    };
    for (const auto& c : cases) {
        auto got = run_with_bad_bars(c.kind, c.params, xs);
        ASSERT_EQ(got.size(), xs.size());
        EXPECT_EQ(got[40], c.at40) << c.kind;
        EXPECT_EQ(got[120], c.at120) << c.kind;
        EXPECT_EQ(got[299], c.at299) << c.kind;
    }
}

TEST(RsiFamily, WarmUpMatchesFirstValue) {
    auto xs = path(120);
    struct Case {
        const char* kind;
        std::vector<double> params;
        std::size_t warmup;
    };
    const Case cases[] = {
        {"Rsi", {14}, 15},           {"AdaptiveRsi", {10}, 11},     {"AnchoredRsi", {}, 2},
        {"ConnorsRsi", {3, 2, 20}, 21}, {"ConnorsRsi", {3, 9, 5}, 11}, {"ConnorsRsi", {12, 2, 5}, 13},
        {"FisherRsi", {7}, 8},       {"LaguerreRsi", {0.3}, 1},     {"Rmi", {14, 5}, 19},
        {"Rsx", {3}, 4},             {"StochRsi", {14, 9}, 23},
    };
    for (const auto& c : cases) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), c.warmup) << c.kind;
        EXPECT_EQ(first_value_at(run(*ind, xs)), c.warmup) << c.kind;
        EXPECT_TRUE(ind->outputs().empty());
    }
}

TEST(RsiFamily, Construction) {
    EXPECT_EQ(build_error("Rsi", {0.5}), params_error("Rsi", "parameter #0 must be a positive integer, got 0.5"));
    EXPECT_EQ(build_error("Rsi", {1e-20}), params_error("Rsi", kZero));
    EXPECT_EQ(build_error("Rsi", {16777217}), params_error("Rsi", kMax));
    EXPECT_EQ(build_error("Rsi", {16777216}), "built");

    EXPECT_EQ(build_error("AdaptiveRsi", {1e-20}), params_error("AdaptiveRsi", kZero));
    EXPECT_EQ(build_error("AdaptiveRsi", {16777217}), params_error("AdaptiveRsi", kMax));
    EXPECT_EQ(build_error("AnchoredRsi", {}), "built");
    EXPECT_EQ(build_error("AnchoredRsi", {std::nan("")}), "built");

    // ConnorsRsi: all three zero tests first, then the two inner RSIs; the rank
    // window is bounded too, after those checks.
    EXPECT_EQ(build_error("ConnorsRsi", {3, 2}), params_error("ConnorsRsi", "missing parameter #2"));
    EXPECT_EQ(build_error("ConnorsRsi", {2e7, 2, 1e-20}), params_error("ConnorsRsi", kZero));
    EXPECT_EQ(build_error("ConnorsRsi", {2e7, 2, 5}), params_error("ConnorsRsi", kMax));
    EXPECT_EQ(build_error("ConnorsRsi", {3, 2e7, 5}), params_error("ConnorsRsi", kMax));
    EXPECT_EQ(build_error("ConnorsRsi", {3, 2, 1e300}), params_error("ConnorsRsi", kMax));
    EXPECT_EQ(build_error("ConnorsRsi", {3, 2, 16777216}), "built");

    EXPECT_EQ(build_error("FisherRsi", {1e-20}), params_error("FisherRsi", kZero));
    EXPECT_EQ(build_error("FisherRsi", {16777217}), params_error("FisherRsi", kMax));

    const std::string gamma = "invalid period: LaguerreRSI gamma must be a finite value in [0, 1]";
    EXPECT_EQ(build_error("LaguerreRsi", {1.5}), params_error("LaguerreRsi", gamma));
    EXPECT_EQ(build_error("LaguerreRsi", {-0.1}), params_error("LaguerreRsi", gamma));
    EXPECT_EQ(build_error("LaguerreRsi", {std::nan("")}), params_error("LaguerreRsi", "parameter #0 must be finite"));
    for (double g : {0.0, 1.0, -0.0}) EXPECT_EQ(build_error("LaguerreRsi", {g}), "built") << g;
    EXPECT_EQ(ostrel::core::Rsi::make(0).error().display(), kZero);

    EXPECT_EQ(build_error("Rmi", {14}), params_error("Rmi", "missing parameter #1"));
    EXPECT_EQ(build_error("Rmi", {2e7, 1e-20}), params_error("Rmi", kZero));
    EXPECT_EQ(build_error("Rmi", {1e300, 5}), params_error("Rmi", kMax));
    EXPECT_EQ(build_error("Rmi", {14, 1e300}), params_error("Rmi", kMax));

    EXPECT_EQ(build_error("Rsx", {1e-20}), params_error("Rsx", kZero));
    EXPECT_EQ(build_error("Rsx", {16777217}), params_error("Rsx", kMax));

    EXPECT_EQ(build_error("StochRsi", {2e7, 1e-20}), params_error("StochRsi", kZero));
    EXPECT_EQ(build_error("StochRsi", {2e7, 14}), params_error("StochRsi", kMax));
    EXPECT_EQ(build_error("StochRsi", {14, 1e300}), params_error("StochRsi", kMax));
}
