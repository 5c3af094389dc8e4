// Rate-of-change, momentum and balance kinds of the close.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/close_kinds_util.hpp"
#include "indicators/core/lag_window.hpp"
#include "indicators/core/roc.hpp"
#include "indicators/core/sma_window.hpp"

using namespace close_kinds;

namespace {
const auto none = std::nullopt;
}  // namespace

TEST(LagKinds, HandWorkedValues) {
    EXPECT_EQ(run("Mom", {2}, {1, 2, 4}), (Series{none, none, 3.0}));
    EXPECT_EQ(run("Roc", {2}, {1, 2, 4}), (Series{none, none, 300.0}));
    EXPECT_EQ(run("Rocp", {2}, {1, 2, 4}), (Series{none, none, 3.0}));
    EXPECT_EQ(run("Rocr", {2}, {1, 2, 4}), (Series{none, none, 4.0}));
    EXPECT_EQ(run("Rocr100", {2}, {1, 2, 4}), (Series{none, none, 400.0}));
    // A zero base gives 0; the division comes before the scaling by 100.
    for (const char* k : {"Roc", "Rocp", "Rocr", "Rocr100"}) EXPECT_EQ(run(k, {2}, {0, 1, 2}), (Series{none, none, 0.0})) << k;
    EXPECT_EQ(run("Mom", {2}, {0, 1, 2}), (Series{none, none, 2.0}));
    EXPECT_EQ(run("Roc", {1}, {3, 1}), (Series{none, ((1.0 - 3.0) / 3.0) * 100.0}));
    EXPECT_EQ(run("Rocr100", {1}, {3, 1}), (Series{none, (1.0 / 3.0) * 100.0}));
    EXPECT_EQ(ostrel::core::roc(1.0, 3.0), ((1.0 - 3.0) / 3.0) * 100.0);
    EXPECT_NE(ostrel::core::roc(1.0, 3.0), (1.0 - 3.0) * 100.0 / 3.0);  // the order shows in the last bit

    auto w = *ostrel::core::LagWindow::make(2);
    EXPECT_FALSE(w.push(5));
    EXPECT_FALSE(w.push(6));
    EXPECT_EQ(w.push(7), 5.0);
    EXPECT_EQ(w.push(8), 6.0);
    EXPECT_FALSE(w.last);
}

TEST(LagKinds, AgreeWithTaLib) {
    auto xs = path(400);
    const struct {
        const char* kind;
        double at120, at250, at399;
    } cases[] = {
        {"Mom", -2.068334355863712, -2.001730200467904, 1.9603924085084685},
        {"Roc", -2.007185293518088, -1.984625672276663, 1.9236516387605818},
        {"Rocp", -0.020071852935180854, -0.019846256722766683, 0.0192365163876058},
        {"Rocr", 0.9799281470648191, 0.9801537432772334, 1.0192365163876058},
        {"Rocr100", 97.99281470648191, 98.01537432772334, 101.92365163876059},
    };
    for (const auto& c : cases) {
        auto got = run_with_bad_bars(c.kind, {10}, xs);
        EXPECT_EQ(first_value_at(got), 11u) << c.kind;
        EXPECT_NEAR(*got[120], c.at120, 1e-12) << c.kind;
        EXPECT_NEAR(*got[250], c.at250, 1e-12) << c.kind;
        EXPECT_NEAR(*got[399], c.at399, 1e-12) << c.kind;
    }
}

TEST(MomentumKinds, HandWorkedValues) {
    EXPECT_EQ(run("DisparityIndex", {2}, {1, 3, 0, 0}), (Series{none, (3.0 - 2.0) * 100.0 / 2.0, -100.0, 0.0}));

    // Dpo of 4: W 4, shift 3.
    EXPECT_EQ(run("Dpo", {4}, {1, 2, 3, 4, 5}), (Series{none, none, none, -1.5, -1.5}));
    EXPECT_EQ(run("Dpo", {1}, {1, 2, 3}), (Series{none, -1.0, -1.0}));       // W 2, shift 1
    EXPECT_EQ(run("Dpo", {2}, {1, 2, 4, 8}), (Series{none, none, -2.0, -4.0}));  // W 3, shift 2

    // Cfo of 3 over 1, 2, 4: line 5/6 + 1.5x, 23/6 at the newest point.
    auto cfo = run("Cfo", {3}, {0, 1, 2, 4, 0, 4});
    EXPECT_EQ(cfo[0], none);
    EXPECT_EQ(cfo[1], none);
    EXPECT_NEAR(*cfo[3], (4.0 - 23.0 / 6.0) * 100.0 / 4.0, 1e-12);
    EXPECT_EQ(cfo[4], cfo[3]);  // a zero close repeats the last value
    ASSERT_TRUE(cfo[5]);
    EXPECT_NE(cfo[5], cfo[3]);  // ...but the zero still entered the line
    EXPECT_EQ(run("Cfo", {2}, {1, 0, 3}), (Series{none, none, 0.0}));  // zero before the first value: nothing

    EXPECT_EQ(run("Cmo", {2}, {3, 3, 3, 3}), (Series{none, none, 0.0, 0.0}));
    EXPECT_EQ(run("Cmo", {2}, {1, 2, 4, 3}), (Series{none, none, 100.0, (2.0 - 1.0) * 100.0 / 3.0}));

    EXPECT_EQ(run("Tii", {2, 2}, {1, 2, 3, 4, 5, 4}), (Series{none, none, 100.0, 100.0, 100.0, 50.0}));
    EXPECT_EQ(run("Tii", {3, 2}, {7, 7, 7, 7, 7}), (Series{none, none, none, 50.0, 50.0}));

    EXPECT_EQ(run("UniversalOscillator", {20}, {5, 5, 5, 5, 5}), (Series{none, none, 0.0, 0.0, 0.0}));
    auto uo = run("UniversalOscillator", {20}, {1, 2, 3, 2, 1});
    EXPECT_EQ(uo, (Series{none, none, 1.0, 0.0, -0.6932204945609063}));
    EXPECT_EQ(run("UniversalOscillator", {20}, {3, 2, 1}), (Series{none, none, -1.0}));
    // An overflowing white-noise value repeats the last value (none yet), the closes still shift.
    EXPECT_EQ(run("UniversalOscillator", {20}, {1.7e308, 1, -1.7e308, 0, 5}), (Series{none, none, none, -1.0, 1.0}));
    // WavePm: an overflowing squared move gives nothing, but the window has moved on.
    EXPECT_EQ(run("WavePm", {1, 1}, {1e200, -1e200, 0, 3}), (Series{none, none, none, (1.0 - std::exp(-9.0 / 18.0)) * 100.0}));

    EXPECT_EQ(run("WavePm", {2, 2}, {3, 3, 3, 3, 3, 3}), (Series{none, none, none, none, 0.0, 0.0}));
}

// Values on a 300-bar path from independent reference implementations (exact).
TEST(MomentumKinds, ReferenceValues) {
    auto xs = path(300);
    const struct {
        const char* kind;
        std::vector<double> params;
        double at40, at120, at299;
    } cases[] = {
        {"DisparityIndex", {10}, -0.8399360167370028, -1.1526090048779898, 1.761915410331029},
        {"DisparityIndex", {3}, 0.16821744744361714, -0.5106158072979469, 0.7955390662531814},
        {"Dpo", {10}, 1.028145478029046, 0.5362762981624485, -0.8366786836840419},
        {"Dpo", {3}, 0.35451064525541653, 0.6590816126216623, -0.8342887440866633},
        {"Cmo", {9}, -26.055305801346947, -30.19100509587268, 26.732506158932885},
        {"Tii", {14, 9}, 2.737637178822494, 6.465756903423683, 23.95122596345757},
        {"Tii", {3, 4}, 8.371151114702307, 0.0, 100.0},
        {"UniversalOscillator", {20}, -0.23028925242327436, -0.31818738113671197, 0.05671533605525653},
        {"WavePm", {14, 5}, 36.08543572650212, 20.806241675447197, 13.512111464335948},
    };
    for (const auto& c : cases) {
        auto got = run_with_bad_bars(c.kind, c.params, xs);
        ASSERT_EQ(got.size(), xs.size());
        EXPECT_EQ(got[40], c.at40) << c.kind << " " << c.params[0];
        EXPECT_EQ(got[120], c.at120) << c.kind << " " << c.params[0];
        EXPECT_EQ(got[299], c.at299) << c.kind << " " << c.params[0];
    }
}

TEST(MomentumKinds, CfoAgreesWithLeastSquares) {
    auto xs = path(200);
    const std::size_t n = 14;
    auto got = run("Cfo", {double(n)}, xs);
    for (std::size_t i = n - 1; i < xs.size(); i += 13) {
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (std::size_t k = 0; k < n; ++k) {
            double x = double(k), y = xs[i + 1 - n + k];
            sx += x, sy += y, sxx += x * x, sxy += x * y;
        }
        double b = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        double a = (sy - b * sx) / n;
        double line = a + b * (n - 1);
        ASSERT_TRUE(got[i]) << i;
        EXPECT_NEAR(*got[i], (xs[i] - line) * 100.0 / xs[i], 1e-9) << i;
    }
}

TEST(MomentumKinds, WarmUpMatchesFirstValue) {
    auto xs = path(120);
    const struct {
        const char* kind;
        std::vector<double> params;
        std::size_t warmup;
    } cases[] = {
        {"Mom", {1}, 2},           {"Rocr100", {7}, 8},        {"DisparityIndex", {9}, 9},
        {"Dpo", {1}, 2},           {"Dpo", {2}, 3},            {"Dpo", {3}, 3},
        {"Dpo", {10}, 10},         {"Cfo", {6}, 6},            {"Cmo", {9}, 10},
        {"Tii", {14, 9}, 22},      {"UniversalOscillator", {20}, 3}, {"WavePm", {14, 5}, 32},
    };
    for (const auto& c : cases) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), c.warmup) << c.kind << " " << c.params[0];
        EXPECT_EQ(first_value_at(run(*ind, xs)), c.warmup) << c.kind << " " << c.params[0];
        EXPECT_TRUE(ind->outputs().empty());
    }
}

TEST(MomentumKinds, Construction) {
    for (const char* k : {"Mom", "Roc", "Rocp", "Rocr", "Rocr100", "DisparityIndex", "Dpo", "Cmo", "UniversalOscillator"}) {
        EXPECT_EQ(build_error(k, {}), params_error(k, "missing parameter #0"));
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, kZero));
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMax));
        EXPECT_EQ(build_error(k, {16777216}), "built") << k;
    }
    EXPECT_EQ(ostrel::core::SmaWindow::make(0).error().display(), kZero);
    EXPECT_EQ(ostrel::core::LagWindow::make(16777217).error().display(), kMax);

    EXPECT_EQ(build_error("Cfo", {1e-20}), params_error("Cfo", kZero));
    EXPECT_EQ(build_error("Cfo", {16777217}), params_error("Cfo", kMax));
    EXPECT_EQ(build_error("Cfo", {1}), params_error("Cfo", "invalid period: linear regression needs period >= 2"));
    EXPECT_EQ(build_error("Cfo", {2}), "built");

    EXPECT_EQ(build_error("Tii", {14}), params_error("Tii", "missing parameter #1"));
    EXPECT_EQ(build_error("Tii", {2e7, 1e-20}), params_error("Tii", kZero));
    EXPECT_EQ(build_error("Tii", {2e7, 9}), params_error("Tii", kMax));
    // The deviation window is reserved at construction: bounded like any window.
    EXPECT_EQ(build_error("Tii", {14, 1e300}), params_error("Tii", kMax));
    EXPECT_EQ(build_error("Tii", {14, 16777216}), "built");

    EXPECT_EQ(build_error("WavePm", {14}), params_error("WavePm", "missing parameter #1"));
    EXPECT_EQ(build_error("WavePm", {1e-20, 1e-20}), params_error("WavePm", kZero));
    EXPECT_EQ(build_error("WavePm", {2e7, 1e-20}), params_error("WavePm", kMax));
    EXPECT_EQ(build_error("WavePm", {14, 1e-20}), params_error("WavePm", kZero));
    EXPECT_EQ(build_error("WavePm", {14, 2e7}), params_error("WavePm", kMax));
}

TEST(MomentumKinds, DynamicMomentumIndex) {
    // Flat: no deviation, all 30 changes (all zero) are used.
    auto flat = run("DynamicMomentumIndex", {14}, std::vector<double>(35, 4.0));
    EXPECT_EQ(first_value_at(flat), 31u);
    EXPECT_EQ(flat.back(), 50.0);
    // A straight rise: the deviation equals its average, n = 14, every change is up.
    std::vector<double> rise;
    for (int i = 1; i < 40; ++i) rise.push_back(i);
    auto up = run("DynamicMomentumIndex", {14}, rise);
    EXPECT_EQ(first_value_at(up), 31u);
    EXPECT_EQ(up[30], 100.0);
    // ...and a length below 5 is raised to 5: the newest 5 changes, 4 ups and 1 down.
    rise.push_back(38.0);
    EXPECT_EQ(run("DynamicMomentumIndex", {1}, rise).back(), (4.0 / 5.0) * 100.0);

    auto xs = path(300);
    const struct {
        double period, at40, at120, at299;
    } cases[] = {
        {14, 40.01613866924969, 23.15499191857296, 74.46287223857749},
        {30, 32.638368123488426, 48.57052540341812, 46.71960329836746},
        {3, 24.481819683116576, 2.7642542202876297, 81.70824837200821},
    };
    for (const auto& c : cases) {
        auto got = run_with_bad_bars("DynamicMomentumIndex", {c.period}, xs);
        EXPECT_NEAR(*got[40], c.at40, 1e-9) << c.period;
        EXPECT_NEAR(*got[120], c.at120, 1e-9) << c.period;
        EXPECT_NEAR(*got[299], c.at299, 1e-9) << c.period;
    }
    // A length above 30 uses all 30 changes, however large the period.
    auto huge = run("DynamicMomentumIndex", {16777216}, xs);
    double ups = 0, downs = 0;
    for (std::size_t i = xs.size() - 30; i < xs.size(); ++i) {
        double c = xs[i] - xs[i - 1];
        if (c > 0) ups = ups + c;
        if (c < 0) downs = downs - c;
    }
    EXPECT_EQ(huge.back(), (ups / (ups + downs)) * 100.0);

    EXPECT_EQ(build_error("DynamicMomentumIndex", {1e-20}), params_error("DynamicMomentumIndex", kZero));
    EXPECT_EQ(build_error("DynamicMomentumIndex", {16777217}), params_error("DynamicMomentumIndex", kMax));
    EXPECT_EQ(make("DynamicMomentumIndex", {14})->warmup_period(), 31u);
}

TEST(MomentumKinds, TsfOscillator) {
    // Over 1, 2, 3 the line is exact: the forecast is 4, so (3 - 4) x 100 / 3.
    EXPECT_EQ(run("TsfOscillator", {3}, {1, 2, 3}), (Series{none, none, (3.0 - 4.0) * 100.0 / 3.0}));
    auto z = run("TsfOscillator", {2}, {0, 1, 3, 0, 5});
    EXPECT_EQ(z[1], -100.0);  // line through (0, 0) and (1, 1): forecast 2
    EXPECT_EQ(z[3], z[2]);  // a zero close repeats the last value
    EXPECT_EQ(run("TsfOscillator", {2}, {1, 0}), (Series{none, none}));

    auto xs = path(300);
    auto got = run_with_bad_bars("TsfOscillator", {14}, xs);
    EXPECT_EQ(first_value_at(got), 14u);
    EXPECT_NEAR(*got[40], 0.025506846990401417, 1e-9);
    EXPECT_NEAR(*got[120], -0.46384271363293866, 1e-9);
    EXPECT_NEAR(*got[299], 1.794254874658943, 1e-9);

    const std::string min = "invalid period: TSF oscillator needs period >= 2";
    EXPECT_EQ(build_error("TsfOscillator", {1e-20}), params_error("TsfOscillator", min));
    EXPECT_EQ(build_error("TsfOscillator", {1}), params_error("TsfOscillator", min));
    EXPECT_EQ(build_error("TsfOscillator", {16777217}), params_error("TsfOscillator", kMax));
    EXPECT_EQ(make("TsfOscillator", {9})->warmup_period(), 9u);
}
