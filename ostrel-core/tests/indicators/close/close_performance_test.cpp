// Drawdown measures, return-distribution ratios, value at risk and tail ratios.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/close_reference_table.hpp"

using namespace closetest;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

std::string invalid_period(const char* kind, const char* detail) {
    return params_error(kind, std::string("invalid period: ") + detail);
}

double last(const char* kind, std::vector<double> params, const std::vector<double>& xs) {
    auto v = run(kind, std::move(params), xs);
    EXPECT_TRUE(!v.empty() && v.back().has_value()) << kind;
    return v.empty() || !v.back() ? std::nan("") : *v.back();
}

}  // namespace

TEST(ClosePerformance, ReferenceValues) {
    const ReferenceRow rows[] = {
    {"AverageDrawdown", {20.0}, false, 20, {{19, 0.18122343431665872}, {64, 0.18035958667557675}, {99, 0.092212328776525}, {128, 0.17633729008372553}, {159, 0.07487503943172032}}},
    {"MaxDrawdown", {20.0}, false, 20, {{19, 0.18122343431665872}, {64, 0.18035958667557675}, {99, 0.18100938868588226}, {128, 0.17633729008372553}, {159, 0.12510571708942944}}},
    {"PainIndex", {20.0}, false, 20, {{19, 0.08031333766149826}, {64, 0.0869088562904544}, {99, 0.0456989566092308}, {128, 0.08604755373948023}, {159, 0.027083481795703013}}},
    {"UlcerIndex", {10.0}, false, 19, {{18, 13.628779900365341}, {64, 11.859621931723087}, {99, 10.868877165144635}, {128, 10.256399544446342}, {159, 6.589279072174242}}},
    {"RecoveryFactor", {}, false, 1, {{0, 0.0}, {64, 0.39723256464291096}, {99, -0.26604686509313147}, {128, 0.7720116267139273}, {159, 0.2556881409734685}}},
    {"CalmarRatio", {20.0}, true, 20, {{19, -0.0012310907622780955}, {64, 0.0010934774238355773}, {99, 0.004300203970046182}, {128, 0.0030140860881276758}, {159, 0.0033426161723799806}}},
    {"SterlingRatio", {20.0}, true, 20, {{19, -0.0012310907622780955}, {64, 0.0010934774238355773}, {99, 0.008441141246188971}, {128, 0.0030140860881276758}, {159, 0.00578303988776293}}},
    {"BurkeRatio", {20.0}, true, 20, {{19, -0.0012310907622780955}, {64, 0.0010934774238355773}, {99, 0.004299438742283127}, {128, 0.0030140860881276758}, {159, 0.0033026675146547086}}},
    {"MartinRatio", {20.0}, true, 20, {{19, -1.9964210625398237e-05}, {64, 1.834382960064231e-05}, {99, 9.058489744355369e-05}, {128, 5.09985692203536e-05}, {159, 8.953976800979841e-05}}},
    {"SharpeRatio", {20.0, 0.001}, true, 20, {{19, -0.04858284600155997}, {64, -0.031868219213969096}, {99, -0.008900641534390496}, {128, -0.019129695386005004}, {159, -0.019161807110608078}}},
    {"M2Measure", {20.0, 0.001, 0.02}, true, 20, {{19, 2.834307996880058e-05}, {64, 0.0003626356157206181}, {99, 0.0008219871693121901}, {128, 0.0006174060922798999}, {159, 0.0006167638577878385}}},
    {"SortinoRatio", {20.0, 0.0}, true, 20, {{19, -0.012707075021705044}, {64, 0.011420991636451659}, {99, 0.0466158818815996}, {128, 0.03260267324496743}, {159, 0.032044654702274654}}},
    {"OmegaRatio", {20.0, 0.0}, true, 20, {{19, 0.9783508383125351}, {64, 1.0194258798903149}, {99, 1.0777394699159641}, {128, 1.0535530492873901}, {159, 1.0514618105323328}}},
    {"UpsidePotentialRatio", {20.0, 0.0}, true, 20, {{19, 0.5742475241978368}, {64, 0.5993475978410857}, {99, 0.6462582763048066}, {128, 0.6413947715250604}, {159, 0.6547327096074055}}},
    {"KellyCriterion", {20.0}, true, 20, {{19, -0.009957698586084474}, {64, 0.009527853016839727}, {99, 0.03606598444521375}, {128, 0.025415449807493218}, {159, 0.024471554752082958}}},
    {"WinRate", {20.0}, true, 20, {{19, 0.45}, {64, 0.5}, {99, 0.5}, {128, 0.5}, {159, 0.5}}},
    {"ProfitFactor", {20.0}, true, 20, {{19, 0.9783508383125351}, {64, 1.0194258798903149}, {99, 1.0777394699159641}, {128, 1.0535530492873901}, {159, 1.0514618105323328}}},
    {"GainLossRatio", {20.0}, true, 20, {{19, 1.1957621357153205}, {64, 1.0194258798903149}, {99, 1.0777394699159641}, {128, 1.0535530492873901}, {159, 1.0514618105323326}}},
    {"GainToPainRatio", {20.0}, true, 20, {{19, -0.021649161687464943}, {64, 0.01942587989031485}, {99, 0.07773946991596413}, {128, 0.05355304928739005}, {159, 0.051461810532332744}}},
    {"Expectancy", {20.0}, true, 20, {{19, -0.011907038928105717}, {64, 0.009712939945157425}, {99, 0.038869734957982065}, {128, 0.026776524643695024}, {159, 0.025730905266166372}}},
    {"KRatio", {20.0}, true, 20, {{19, -5.6164868404830415}, {64, -1.9993046515640809}, {99, -1.5280362633138722}, {128, -0.6140791473442488}, {159, 1.869346375699867}}},
    {"ValueAtRisk", {20.0, 0.95}, true, 20, {{19, 0.03848244672074784}, {64, 0.041203193899786626}, {99, 0.03953698100783948}, {128, 0.03352949317857639}, {159, 0.03774056163315197}}},
    {"ConditionalValueAtRisk", {20.0, 0.9}, true, 20, {{19, 0.0452305878996736}, {64, 0.0441347811429158}, {99, 0.04173314688377627}, {128, 0.04306696894669737}, {159, 0.04110094147211363}}},
    {"TailRatio", {20.0}, true, 20, {{19, 0.9400525414884899}, {64, 0.9396513291221751}, {99, 0.9462155308854511}, {128, 1.1323664783098233}, {159, 0.9522837283072061}}},
    {"CommonSenseRatio", {20.0}, true, 20, {{19, 0.9197011920230933}, {64, 0.9579048829804772}, {99, 1.0197738246827386}, {128, 1.1930081561341377}, {159, 1.001289973106375}}},
    };
    for (const auto& row : rows) expect_reference_row(row);
}

TEST(ClosePerformance, SkipsNonFiniteCloses) {
    for (auto k : {"AverageDrawdown", "MaxDrawdown", "PainIndex", "UlcerIndex", "CalmarRatio", "SterlingRatio",
                   "BurkeRatio", "MartinRatio", "SortinoRatio", "KellyCriterion", "WinRate", "ProfitFactor",
                   "GainLossRatio", "GainToPainRatio", "Expectancy", "KRatio", "TailRatio", "CommonSenseRatio"})
        expect_skips_non_finite(k, k == std::string("SortinoRatio") ? std::vector<double>{6, 100} : std::vector<double>{6});
    expect_skips_non_finite("RecoveryFactor", {});
    expect_skips_non_finite("SharpeRatio", {6, 100});
    expect_skips_non_finite("M2Measure", {6, 100, 0.5});
    expect_skips_non_finite("OmegaRatio", {6, 100});
    expect_skips_non_finite("UpsidePotentialRatio", {6, 100});
    expect_skips_non_finite("ValueAtRisk", {6, 0.9});
    expect_skips_non_finite("ConditionalValueAtRisk", {6, 0.9});
}

TEST(ClosePerformance, ConstructionChecks) {
    for (auto k : {"AverageDrawdown", "MaxDrawdown", "PainIndex", "UlcerIndex", "OmegaRatio", "KellyCriterion", "WinRate",
                   "ProfitFactor", "GainLossRatio", "GainToPainRatio", "Expectancy"}) {
        std::vector<double> extra = k == std::string("OmegaRatio") ? std::vector<double>{0.0} : std::vector<double>{};
        auto with = [&](double p) {
            std::vector<double> v{p};
            v.insert(v.end(), extra.begin(), extra.end());
            return v;
        };
        EXPECT_EQ(build_error(k, with(1e-20)), params_error(k, "period must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, with(16777217)), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, with(1)), "built") << k;
    }
    const std::pair<const char*, const char*> minimum[] = {
        {"CalmarRatio", "calmar ratio needs period >= 2"},
        {"SterlingRatio", "sterling ratio needs period >= 2"},
        {"BurkeRatio", "burke ratio needs period >= 2"},
        {"MartinRatio", "martin ratio needs period >= 2"},
        {"SharpeRatio", "sharpe ratio needs period >= 2"},
        {"M2Measure", "m2 measure needs period >= 2"},
        {"SortinoRatio", "sortino ratio needs period >= 2"},
        {"UpsidePotentialRatio", "upside potential ratio needs period >= 2"},
        {"KRatio", "k-ratio needs period >= 3"},
        {"ValueAtRisk", "value-at-risk needs period >= 2"},
        {"ConditionalValueAtRisk", "conditional value-at-risk needs period >= 2"},
        {"TailRatio", "tail ratio needs period >= 2"},
        {"CommonSenseRatio", "common sense ratio needs period >= 2"},
    };
    for (auto [k, detail] : minimum) {
        std::size_t least = k == std::string("KRatio") ? 3 : 2;
        std::vector<double> tail = k == std::string("M2Measure") ? std::vector<double>{0.0, 0.1}
                                   : (k == std::string("SharpeRatio") || k == std::string("SortinoRatio") ||
                                      k == std::string("UpsidePotentialRatio"))
                                       ? std::vector<double>{0.0}
                                   : (k == std::string("ValueAtRisk") || k == std::string("ConditionalValueAtRisk"))
                                       ? std::vector<double>{0.95}
                                       : std::vector<double>{};
        auto with = [&](double p) {
            std::vector<double> v{p};
            v.insert(v.end(), tail.begin(), tail.end());
            return v;
        };
        EXPECT_EQ(build_error(k, with(1e-20)), invalid_period(k, detail)) << k;
        EXPECT_EQ(build_error(k, with(static_cast<double>(least - 1))), invalid_period(k, detail)) << k;
        EXPECT_EQ(build_error(k, with(static_cast<double>(least))), "built") << k;
        EXPECT_EQ(build_error(k, with(16777217)), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, with(16777216)), "built") << k;
    }
    const char* bench = "risk_free must be finite and benchmark_stddev finite and non-negative";
    EXPECT_EQ(build_error("M2Measure", {30, 0.01}), params_error("M2Measure", "missing parameter #2"));
    EXPECT_EQ(build_error("M2Measure", {30, 0.01, -1}), params_error("M2Measure", std::string("invalid parameter: ") + bench));
    EXPECT_EQ(build_error("M2Measure", {1, 0.01, -1}), invalid_period("M2Measure", "m2 measure needs period >= 2"));
    EXPECT_EQ(build_error("M2Measure", {30, 0.01, -0.0}), "built");
    EXPECT_EQ(build_error("SharpeRatio", {30}), params_error("SharpeRatio", "missing parameter #1"));
    for (auto k : {"ValueAtRisk", "ConditionalValueAtRisk"}) {
        for (double c : {0.0, -0.0, 1.0, -0.5, 1.5})
            EXPECT_EQ(build_error(k, {20, c}), invalid_period(k, "confidence must lie strictly between 0 and 1")) << k << c;
        EXPECT_EQ(build_error(k, {1, 1.0}), invalid_period(k, k == std::string("ValueAtRisk")
                                                                   ? "value-at-risk needs period >= 2"
                                                                   : "conditional value-at-risk needs period >= 2"));
    }
    EXPECT_EQ(build_error("RecoveryFactor", {}), "built");
    EXPECT_EQ(build_error("RecoveryFactor", {std::nan(""), -1}), "built");
}

TEST(ClosePerformance, LevelDrawdownsByHand) {
    EXPECT_EQ(last("AverageDrawdown", {5}, {100, 90, 95, 80, 100}), 0.2);
    EXPECT_EQ(last("AverageDrawdown", {5}, {100, 90, 100, 80, 85}), (0.1 + 0.2) / 2.0);
    for (auto k : {"AverageDrawdown", "MaxDrawdown", "PainIndex"}) EXPECT_EQ(last(k, {4}, {1, 2, 2, 3, 5}), 0.0) << k;
    EXPECT_EQ(last("MaxDrawdown", {3}, {-5, -3, -4}), 0.0);
    EXPECT_EQ(last("AverageDrawdown", {3}, {-5, -3, -4}), 0.0);
    // The peak goes positive only at the third value; the first two count in the divisor.
    EXPECT_EQ(last("PainIndex", {4}, {-1, -2, 4, 2}), 0.5 / 4.0);
    EXPECT_EQ(last("MaxDrawdown", {4}, {10, 5, 8, 6}), 0.5);

    auto r0 = run("RecoveryFactor", {}, {0, 10, 5, 20});
    for (auto v : r0) EXPECT_FALSE(v);
    auto r = run("RecoveryFactor", {}, {100, 80, 120});
    EXPECT_EQ(r[0], std::optional<double>(0.0));
    EXPECT_EQ(*r[1], (0.8 - 1.0) / ((100.0 - 80.0) / 100.0));
    EXPECT_DOUBLE_EQ(*r[1], -1.0);
    EXPECT_DOUBLE_EQ(*r[2], 1.0);
}

TEST(ClosePerformance, UlcerIndex) {
    auto one = run("UlcerIndex", {1}, {5, 3, 9});
    for (auto v : one) EXPECT_EQ(v, std::optional<double>(0.0));
    auto three = run("UlcerIndex", {3}, {10, 8, 9, 5, 10, 10});
    for (std::size_t i = 0; i < 4; ++i) EXPECT_FALSE(three[i]) << i;
    // Drawdowns from the max of the last three: 9 vs 10: -10 %, 5 vs 9: -44.4 %, 10: 0.
    const double u1 = (9.0 - 10.0) * 100.0 / 10.0, u2 = (5.0 - 9.0) * 100.0 / 9.0, u3 = 0.0;
    EXPECT_DOUBLE_EQ(*three[4], std::sqrt((u1 * u1 + u2 * u2 + u3 * u3) / 3.0));
    EXPECT_DOUBLE_EQ(*three[5], std::sqrt((u2 * u2) / 3.0));
}

TEST(ClosePerformance, EquityWalksByHand) {
    for (auto k : {"CalmarRatio", "SterlingRatio", "BurkeRatio", "MartinRatio"})
        EXPECT_EQ(last(k, {3}, {0.01, 0.0, 0.02}), 0.0) << k;
    // Returns -0.5, +1.0, -0.5: equity 0.5, 1.0, 0.5 against a peak of 1.
    const std::vector<double> r = {-0.5, 1.0, -0.5};
    const double mean = 0.0 / 3.0;
    EXPECT_EQ(last("CalmarRatio", {3}, r), mean / 0.5);
    // Two episodes of depth 0.5 each, sum of returns 0.
    EXPECT_EQ(last("SterlingRatio", {3}, r), 0.0);
    const std::vector<double> r2 = {-0.5, 1.0, -0.5, 0.6};
    // Window -0.5 .. 0.6 (period 4): equity 0.5, 1, 0.5, 0.8; depths 0.5 and 0.5 (open
    // at the end, trough 0.5); mean return 0.15.
    EXPECT_DOUBLE_EQ(last("SterlingRatio", {4}, r2), 0.15 / 0.5);
    EXPECT_DOUBLE_EQ(last("BurkeRatio", {4}, r2), 0.15 / std::sqrt(0.5));
    // Percent drawdowns 50, 0, 50, 20: ulcer sqrt((2500 + 2500 + 400) / 4).
    EXPECT_DOUBLE_EQ(last("MartinRatio", {4}, r2), 0.15 / std::sqrt(5400.0 / 4.0));
    EXPECT_DOUBLE_EQ(last("CalmarRatio", {4}, r2), 0.15 / 0.5);
}

TEST(ClosePerformance, DistributionRatiosByHand) {
    EXPECT_DOUBLE_EQ(last("SharpeRatio", {3, 0.0}, {0.01, 0.02, 0.03}), 2.0);
    EXPECT_EQ(last("SharpeRatio", {3, 0.0}, {0.25, 0.25, 0.25}), 0.0);
    EXPECT_EQ(last("M2Measure", {3, 0.004, 0.0}, {0.01, 0.02, 0.03}), 0.004);
    EXPECT_DOUBLE_EQ(last("M2Measure", {3, 0.0, 0.1}, {0.01, 0.02, 0.03}), 0.2);
    EXPECT_EQ(last("M2Measure", {3, 0.004, 0.1}, {0.5, 0.5, 0.5}), 0.0);
    EXPECT_EQ(last("SortinoRatio", {3, 0.0}, {0.0, 0.1, 0.2}), 0.0);
    // Shortfalls -0.2 below 0: downside sqrt(0.04 / 4) = 0.1; mean 0.05.
    EXPECT_DOUBLE_EQ(last("SortinoRatio", {4, 0.0}, {0.1, 0.2, -0.2, 0.1}), 0.05 / 0.1);

    EXPECT_EQ(last("OmegaRatio", {3, 0.5}, {0.5, 0.5, 0.5}), 1.0);
    EXPECT_EQ(last("OmegaRatio", {3, 0.0}, {0.0, 0.1, 0.0}), kInf);
    EXPECT_EQ(last("OmegaRatio", {3, 0.0}, {0.25, -0.5, 0.5}), 1.5);
    for (auto k : {"ProfitFactor", "GainLossRatio"}) {
        EXPECT_EQ(last(k, {3}, {0.0, 0.0, -0.0}), 1.0) << k;
        EXPECT_EQ(last(k, {3}, {0.0, 0.1, 0.0}), kInf) << k;
    }
    EXPECT_EQ(last("ProfitFactor", {3}, {0.25, -0.5, 0.5}), 1.5);
    EXPECT_EQ(last("GainLossRatio", {3}, {0.25, -0.5, 0.5}), 0.375 / 0.5);
    EXPECT_EQ(last("GainLossRatio", {3}, {0.0, -0.5, -0.25}), 0.0);

    EXPECT_EQ(last("KellyCriterion", {4}, {0.1, 0.1, 0, 0.1}), 0.75);
    EXPECT_EQ(last("KellyCriterion", {4}, {-0.1, -0.2, -0.1, -0.1}), -1.0);
    // W = 0.5, payoff (0.5 / 2) / (0.25 / 2) = 2: 0.5 - 0.5 / 2.
    EXPECT_EQ(last("KellyCriterion", {4}, {0.25, -0.125, 0.25, -0.125}), 0.25);
    EXPECT_EQ(last("WinRate", {4}, {0.1, -0.1, 0, 0.2}), 0.5);
    auto wr = run("WinRate", {2}, {1, 1, -1, -1, 1});
    EXPECT_EQ(wr[1], std::optional<double>(1.0));
    EXPECT_EQ(wr[3], std::optional<double>(0.0));
    EXPECT_EQ(wr[4], std::optional<double>(0.5));

    EXPECT_EQ(last("Expectancy", {3}, {0.1, 0.0, 0.2}), 0.0);
    EXPECT_EQ(last("GainToPainRatio", {3}, {0.1, 0.0, 0.2}), 0.0);
    EXPECT_EQ(last("GainToPainRatio", {3}, {0.5, -0.25, 0.5}), 0.75 / 0.25);
    // Mean 0.25 / 3 in units of the average loss 0.25.
    EXPECT_EQ(last("Expectancy", {3}, {0.5, -0.25, 0.5}), (0.75 / 3.0) / 0.25);

    EXPECT_EQ(last("UpsidePotentialRatio", {2, 0.0}, {0.1, 0.2}), 0.0);
    // Excesses over 0: 0.5; shortfall -0.5: (0.5 / 2) / sqrt(0.25 / 2).
    EXPECT_EQ(last("UpsidePotentialRatio", {2, 0.0}, {0.5, -0.5}), 0.25 / std::sqrt(0.125));

    EXPECT_EQ(last("KRatio", {4}, {0.5, 0.5, 0.5, 0.5}), 0.0);
    EXPECT_EQ(last("KRatio", {4}, {-0.25, -0.25, -0.25, -0.25}), 0.0);
}

// Once the losses have left the window their running sums are exactly 0: the ratios
// give 0 instead of dividing by a rounding residue.
TEST(ClosePerformance, LossFreeWindowsAfterLosses) {
    auto gp = run("GainToPainRatio", {3}, {-0.1, -0.2, 0.1, 0.1, 0.1});
    EXPECT_EQ(gp[4], std::optional<double>(0.0));
    auto up = run("UpsidePotentialRatio", {3, 0.0}, {-0.3, -0.7, 0.1, 0.1, 0.1});
    EXPECT_EQ(up[4], std::optional<double>(0.0));
    // A loss entering again is counted afresh.
    auto gp2 = run("GainToPainRatio", {2}, {-0.1, -0.2, 0.1, 0.1, -0.5});
    EXPECT_EQ(gp2[4], std::optional<double>((0.1 + -0.5) / 0.5));
}

TEST(ClosePerformance, TailsByHand) {
    auto var = last("ValueAtRisk", {5, 0.8}, {-0.05, -0.02, 0.01, 0.03, 0.04});
    EXPECT_NEAR(var, 0.026, 1e-15);
    EXPECT_EQ(var, -(-0.05 + ((1.0 - 0.8) * 4.0) * (-0.02 - -0.05)));
    EXPECT_EQ(last("ValueAtRisk", {3, 0.9}, {0.01, 0.02, 0.03}), 0.0);
    EXPECT_EQ(last("ConditionalValueAtRisk", {5, 0.95}, {0.01, -0.03, 0.02, 0.0, -0.01}), 0.03);
    EXPECT_EQ(last("ConditionalValueAtRisk", {5, 0.95}, {0.01, 0.03, 0.02, 0.05, 0.04}), 0.0);
    // k = floor(0.5 * 4) = 2: the two worst, -0.5 and -0.25.
    EXPECT_EQ(last("ConditionalValueAtRisk", {4, 0.5}, {0.25, -0.5, 1.0, -0.25}), 0.375);
    // The 5 % quantile lies at position 0.05 * 19, between the two smallest values,
    // -0 and +0: it is exactly 0.
    std::vector<double> w(20, 0.5);
    w[3] = 0.0;
    w[7] = -0.0;
    EXPECT_EQ(last("TailRatio", {20}, w), 0.0);
    EXPECT_EQ(last("TailRatio", {2}, {-0.5, 1.0}), (-0.5 + 0.95 * 1.5) / std::fabs(-0.5 + 0.05 * 1.5));
}

TEST(ClosePerformance, CommonSenseRatioRebuildsItsSortedCopy) {
    EXPECT_EQ(last("CommonSenseRatio", {3}, {0.1, 0.0, 0.2}), 0.0);
    // Long loss-free stretches with a loss entering now and then: every value equals
    // that of a fresh indicator fed just the window.
    std::vector<double> r;
    for (int i = 0; i < 200; ++i) r.push_back(i % 37 == 5 || i % 41 == 0 ? -0.03 * (1 + i % 3) : 0.001 * (i % 13));
    const std::size_t n = 8;
    auto v = run("CommonSenseRatio", {static_cast<double>(n)}, r);
    for (std::size_t i = n - 1; i < r.size(); ++i) {
        std::vector<double> window(r.begin() + static_cast<std::ptrdiff_t>(i + 1 - n), r.begin() + static_cast<std::ptrdiff_t>(i + 1));
        auto fresh = run("CommonSenseRatio", {static_cast<double>(n)}, window);
        ASSERT_TRUE(v[i] && fresh.back());
        EXPECT_TRUE(same_bits(*v[i], *fresh.back())) << i;
    }
}
