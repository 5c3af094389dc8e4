// Entropy, autocorrelation and Hurst exponent; close-to-close volatility; trend and
// regime labels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/close_reference_table.hpp"
#include "indicators/core/rvi_volatility.hpp"

using namespace closetest;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

std::string invalid_period(const char* kind, const char* detail) {
    return params_error(kind, std::string("invalid period: ") + detail);
}
std::string invalid_parameter(const char* kind, const char* detail) {
    return params_error(kind, std::string("invalid parameter: ") + detail);
}

// A value on every update from `first` (1-based) on, equal to `want` from there.
void expect_from(const Values& v, std::size_t first, double want, const char* what) {
    for (std::size_t i = 0; i < v.size(); ++i) {
        ASSERT_EQ(v[i].has_value(), i + 1 >= first) << what << " at " << i;
        if (v[i]) EXPECT_EQ(*v[i], want) << what << " at " << i;
    }
}

}  // namespace

TEST(CloseRegime, ReferenceValues) {
    const ReferenceRow rows[] = {
    {"SampleEntropy", {20.0, 2.0, 0.2}, false, 20, {{19, 1.3862943611198906}, {64, 0.916290731874155}, {99, 0.0}, {128, 1.3862943611198906}, {159, 1.3862943611198906}}},
    {"ShannonEntropy", {20.0, 5.0}, false, 20, {{19, 2.228212945841001}, {64, 2.242737648613667}, {99, 2.2527241956246544}, {128, 2.1804820237218405}, {159, 2.2609640474436814}}},
    {"Autocorrelation", {20.0, 3.0}, false, 20, {{19, 0.6085273996738069}, {64, 0.5439797279698946}, {99, 0.3600039767036829}, {128, 0.4462970352416199}, {159, 0.5060089307233546}}},
    {"HurstExponent", {32.0, 4.0}, false, 32, {{31, 1.0}, {64, 0.9365548925238915}, {99, 0.7611115922152638}, {128, 0.9158878770197155}, {159, 0.9682536592338759}}},
    {"LogReturn", {5.0}, false, 6, {{5, 0.11756034300479803}, {64, 0.12174589130954544}, {99, -0.10844092170813528}, {128, 0.12430637008108537}, {159, -0.09922473344069006}}},
    {"RealizedVolatility", {10.0}, false, 11, {{10, 0.07583856207514567}, {64, 0.08016356038754219}, {99, 0.07604205355558308}, {128, 0.08126711466968872}, {159, 0.06703746818653113}}},
    {"BipowerVariation", {10.0}, false, 11, {{10, 0.00510419368859558}, {64, 0.005585454496946253}, {99, 0.00513428584413237}, {128, 0.0057017491460219175}, {159, 0.004494306311355209}}},
    {"HistoricalVolatility", {10.0, 252.0}, false, 11, {{10, 39.676362212293604}, {64, 40.57208141814306}, {99, 23.68818964225553}, {128, 37.59532758965104}, {159, 32.179200916993025}}},
    {"JumpIndicator", {10.0, 1.0}, false, 12, {{11, -1.0}, {64, 0.0}, {99, 0.0}, {128, 1.0}, {159, 0.0}}},
    {"EwmaVolatility", {0.94}, false, 2, {{1, 0.03927073177361184}, {64, 0.025275212350676052}, {99, 0.024191990337946574}, {128, 0.024702789601791574}, {159, 0.022910170181405818}}},
    {"Garch11", {1e-06, 0.1, 0.8}, false, 2, {{1, 0.00316227766016838}, {64, 0.02031447482351302}, {99, 0.0174289331249391}, {128, 0.018119411033709554}, {159, 0.017023605095814666}}},
    {"VolatilityOfVolatility", {5.0, 7.0}, false, 12, {{11, 0.0026519296367988957}, {64, 0.003493521133566349}, {99, 0.001972021710528113}, {128, 0.004495399081547689}, {159, 0.003636188341773236}}},
    {"RviVolatility", {10.0}, false, 19, {{18, 21.480536581715175}, {64, 61.11368940719042}, {99, 29.154076684312358}, {128, 66.4413615816833}, {159, 39.117897346614825}}},
    {"TrendLabel", {5.0}, false, 5, {{4, 1.0}, {64, 1.0}, {99, -1.0}, {128, 1.0}, {159, -1.0}}},
    {"TrendStrengthIndex", {10.0}, false, 10, {{9, 0.288959357177495}, {64, 0.7658889454186131}, {99, -0.987448070249384}, {128, 0.898578194910582}, {159, -0.8729215541282723}}},
    {"VerticalHorizontalFilter", {10.0}, false, 11, {{10, 0.4140107160010656}, {64, 0.6797060276868246}, {99, 0.9716118293953043}, {128, 0.7773946573294421}, {159, 0.7094208036727135}}},
    {"PolarizedFractalEfficiency", {10.0, 5.0}, false, 15, {{14, -42.62545559339308}, {64, 0.9560682929963242}, {99, -66.2525596002935}, {128, 23.007658609094086}, {159, -19.009865926711175}}},
    {"RegimeLabel", {5.0, 10.0}, false, 15, {{14, -1.0}, {64, -1.0}, {99, -1.0}, {128, 0.0}, {159, -1.0}}},
    };
    (void)kInf;
    for (const auto& row : rows) expect_reference_row(row);
}

TEST(CloseRegime, SkipsNonFiniteCloses) {
    for (auto [k, p] : std::initializer_list<std::pair<const char*, std::vector<double>>>{
             {"SampleEntropy", {12, 2, 0.2}}, {"ShannonEntropy", {12, 4}}, {"Autocorrelation", {12, 2}},
             {"HurstExponent", {16, 3}}, {"LogReturn", {3}}, {"RealizedVolatility", {5}},
             {"BipowerVariation", {5}}, {"HistoricalVolatility", {5, 252}}, {"JumpIndicator", {5, 1.0}},
             {"EwmaVolatility", {0.9}}, {"Garch11", {1e-6, 0.1, 0.8}}, {"VolatilityOfVolatility", {3, 4}},
             {"RviVolatility", {4}}, {"TrendLabel", {4}}, {"TrendStrengthIndex", {4}},
             {"VerticalHorizontalFilter", {4}}, {"PolarizedFractalEfficiency", {4, 3}}, {"RegimeLabel", {3, 5}}})
        expect_skips_non_finite(k, p);
}

TEST(CloseRegime, ConstructionChecks) {
    // Entropy, autocorrelation, Hurst.
    EXPECT_EQ(build_error("SampleEntropy", {10, 1e-20, 0.2}), params_error("SampleEntropy", "period must be greater than zero"));
    EXPECT_EQ(build_error("SampleEntropy", {1e-20, 2, 0.2}), params_error("SampleEntropy", "period must be greater than zero"));
    EXPECT_EQ(build_error("SampleEntropy", {3, 2, 0.2}), invalid_period("SampleEntropy", "sample entropy needs period >= m + 2"));
    EXPECT_EQ(build_error("SampleEntropy", {1, 1, 0.2}), invalid_period("SampleEntropy", "sample entropy needs period >= m + 2"));
    EXPECT_EQ(build_error("SampleEntropy", {10, 1.8446744073709552e19, 0.2}),
              invalid_period("SampleEntropy", "sample entropy needs period >= m + 2"));
    EXPECT_EQ(build_error("SampleEntropy", {4, 2, 0.2}), "built");
    EXPECT_EQ(build_error("SampleEntropy", {4, 2, 0.0}),
              invalid_parameter("SampleEntropy", "sample entropy r_factor must be finite and positive"));
    EXPECT_EQ(build_error("SampleEntropy", {4, 2, -0.0}),
              invalid_parameter("SampleEntropy", "sample entropy r_factor must be finite and positive"));
    EXPECT_EQ(build_error("SampleEntropy", {16777217, 2, 0.2}), params_error("SampleEntropy", kMaxText));
    EXPECT_EQ(build_error("SampleEntropy", {10, 2}), params_error("SampleEntropy", "missing parameter #2"));

    EXPECT_EQ(build_error("ShannonEntropy", {10, 1e-20}), params_error("ShannonEntropy", "period must be greater than zero"));
    EXPECT_EQ(build_error("ShannonEntropy", {10, 1}), invalid_period("ShannonEntropy", "Shannon entropy needs bins >= 2"));
    EXPECT_EQ(build_error("ShannonEntropy", {10, 16777217}), params_error("ShannonEntropy", kMaxText));
    EXPECT_EQ(build_error("ShannonEntropy", {16777217, 2}), params_error("ShannonEntropy", kMaxText));
    EXPECT_EQ(build_error("ShannonEntropy", {1, 2}), "built");

    EXPECT_EQ(build_error("Autocorrelation", {10, 1e-20}),
              invalid_period("Autocorrelation", "autocorrelation lag must be >= 1"));
    EXPECT_EQ(build_error("Autocorrelation", {3, 3}), invalid_period("Autocorrelation", "autocorrelation needs period > lag"));
    EXPECT_EQ(build_error("Autocorrelation", {1e-20, 1}),
              invalid_period("Autocorrelation", "autocorrelation needs period > lag"));
    EXPECT_EQ(build_error("Autocorrelation", {16777217, 1}), params_error("Autocorrelation", kMaxText));
    EXPECT_EQ(build_error("Autocorrelation", {2, 1}), "built");

    EXPECT_EQ(build_error("HurstExponent", {10, 1}), invalid_period("HurstExponent", "Hurst chunks must be >= 2"));
    EXPECT_EQ(build_error("HurstExponent", {1e-20, 1}), invalid_period("HurstExponent", "Hurst chunks must be >= 2"));
    EXPECT_EQ(build_error("HurstExponent", {10, 16777217}), params_error("HurstExponent", kMaxText));
    EXPECT_EQ(build_error("HurstExponent", {7, 4}), invalid_period("HurstExponent", "Hurst period must be >= 2 * chunks"));
    EXPECT_EQ(build_error("HurstExponent", {16777217, 4}), params_error("HurstExponent", kMaxText));
    EXPECT_EQ(build_error("HurstExponent", {8, 4}), "built");

    // Close-to-close volatility.
    for (auto k : {"LogReturn", "RealizedVolatility"}) {
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, "period must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {1}), "built") << k;
    }
    EXPECT_EQ(build_error("BipowerVariation", {1e-20}), params_error("BipowerVariation", "period must be greater than zero"));
    EXPECT_EQ(build_error("BipowerVariation", {16777217}), params_error("BipowerVariation", kMaxText));
    EXPECT_EQ(build_error("BipowerVariation", {1}),
              invalid_period("BipowerVariation", "bipower variation period must be >= 2"));
    EXPECT_EQ(build_error("HistoricalVolatility", {20, 1e-20}),
              params_error("HistoricalVolatility", "period must be greater than zero"));
    EXPECT_EQ(build_error("HistoricalVolatility", {1, 252}),
              invalid_period("HistoricalVolatility", "historical volatility period must be >= 2"));
    EXPECT_EQ(build_error("HistoricalVolatility", {16777217, 252}), params_error("HistoricalVolatility", kMaxText));
    EXPECT_EQ(build_error("HistoricalVolatility", {20, 252.5}),
              params_error("HistoricalVolatility", "parameter #1 must be a positive integer, got 252.5"));
    EXPECT_EQ(build_error("HistoricalVolatility", {20, 365}), "built");
    EXPECT_EQ(build_error("JumpIndicator", {1e-20, 3}), invalid_period("JumpIndicator", "jump indicator needs period >= 2"));
    EXPECT_EQ(build_error("JumpIndicator", {16777217, 0}), params_error("JumpIndicator", kMaxText));
    EXPECT_EQ(build_error("JumpIndicator", {5, 0}),
              invalid_parameter("JumpIndicator", "jump indicator threshold must be finite and positive"));
    const char* lambda = "EWMA volatility lambda must be in the open interval (0, 1)";
    for (double l : {1.0, 0.0, -0.0, 2.0}) EXPECT_EQ(build_error("EwmaVolatility", {l}), invalid_parameter("EwmaVolatility", lambda));
    EXPECT_EQ(build_error("EwmaVolatility", {0.999999}), "built");
    EXPECT_EQ(build_error("Garch11", {0.1, 0.1}), params_error("Garch11", "missing parameter #2"));
    EXPECT_EQ(build_error("Garch11", {0.0, 0.1, 0.8}), invalid_parameter("Garch11", "GARCH(1,1) omega must be > 0"));
    EXPECT_EQ(build_error("Garch11", {1e-6, -0.1, 0.8}), invalid_parameter("Garch11", "GARCH(1,1) alpha and beta must be >= 0"));
    EXPECT_EQ(build_error("Garch11", {1e-6, 0.1, -0.8}), invalid_parameter("Garch11", "GARCH(1,1) alpha and beta must be >= 0"));
    EXPECT_EQ(build_error("Garch11", {1e-6, 0.5, 0.5}),
              invalid_parameter("Garch11", "GARCH(1,1) requires alpha + beta < 1 (covariance stationarity)"));
    EXPECT_EQ(build_error("Garch11", {1e-6, -0.0, 0.0}), "built");
    EXPECT_EQ(build_error("VolatilityOfVolatility", {5, 1e-20}),
              params_error("VolatilityOfVolatility", "period must be greater than zero"));
    EXPECT_EQ(build_error("VolatilityOfVolatility", {1, 5}),
              invalid_period("VolatilityOfVolatility", "vol-of-vol windows must both be >= 2"));
    EXPECT_EQ(build_error("VolatilityOfVolatility", {5, 1}),
              invalid_period("VolatilityOfVolatility", "vol-of-vol windows must both be >= 2"));
    EXPECT_EQ(build_error("VolatilityOfVolatility", {5, 16777217}), params_error("VolatilityOfVolatility", kMaxText));
    EXPECT_EQ(build_error("RviVolatility", {1e-20}), params_error("RviVolatility", "period must be greater than zero"));
    EXPECT_EQ(build_error("RviVolatility", {16777217}), params_error("RviVolatility", kMaxText));
    EXPECT_EQ(build_error("RviVolatility", {1}), invalid_period("RviVolatility", "RVI period must be >= 2"));

    // Trend and regime labels.
    EXPECT_EQ(build_error("TrendLabel", {1e-20}), invalid_period("TrendLabel", "trend label needs period >= 2"));
    EXPECT_EQ(build_error("TrendLabel", {1}), invalid_period("TrendLabel", "trend label needs period >= 2"));
    EXPECT_EQ(build_error("TrendLabel", {16777217}), params_error("TrendLabel", kMaxText));
    EXPECT_EQ(build_error("TrendStrengthIndex", {1e-20}), params_error("TrendStrengthIndex", "period must be greater than zero"));
    EXPECT_EQ(build_error("TrendStrengthIndex", {16777217}), params_error("TrendStrengthIndex", kMaxText));
    EXPECT_EQ(build_error("TrendStrengthIndex", {1}),
              invalid_period("TrendStrengthIndex", "period must be >= 2 for a regression"));
    EXPECT_EQ(build_error("VerticalHorizontalFilter", {1e-20}),
              params_error("VerticalHorizontalFilter", "period must be greater than zero"));
    EXPECT_EQ(build_error("VerticalHorizontalFilter", {16777217}), params_error("VerticalHorizontalFilter", kMaxText));
    EXPECT_EQ(build_error("PolarizedFractalEfficiency", {1e-20, 16777217}),
              params_error("PolarizedFractalEfficiency", "period must be greater than zero"));
    EXPECT_EQ(build_error("PolarizedFractalEfficiency", {16777217, 1e-20}), params_error("PolarizedFractalEfficiency", kMaxText));
    EXPECT_EQ(build_error("PolarizedFractalEfficiency", {5, 1e-20}),
              params_error("PolarizedFractalEfficiency", "period must be greater than zero"));
    EXPECT_EQ(build_error("PolarizedFractalEfficiency", {5, 16777217}), params_error("PolarizedFractalEfficiency", kMaxText));
    EXPECT_EQ(build_error("RegimeLabel", {1, 1}), invalid_period("RegimeLabel", "regime label needs vol_period >= 2"));
    EXPECT_EQ(build_error("RegimeLabel", {16777217, 1}), params_error("RegimeLabel", kMaxText));
    EXPECT_EQ(build_error("RegimeLabel", {2, 1}), invalid_period("RegimeLabel", "regime label needs lookback >= 2"));
    EXPECT_EQ(build_error("RegimeLabel", {2, 16777217}), params_error("RegimeLabel", kMaxText));
    EXPECT_EQ(build_error("RegimeLabel", {2, 2}), "built");
}

TEST(CloseRegime, FlatWindows) {
    std::vector<double> flat(12, 7.25);
    expect_from(run("SampleEntropy", {6, 2, 0.2}, flat), 6, 0.0, "SampleEntropy");
    expect_from(run("ShannonEntropy", {6, 3}, flat), 6, 0.0, "ShannonEntropy");
    expect_from(run("Autocorrelation", {6, 2}, flat), 6, 0.0, "Autocorrelation");
    expect_from(run("HurstExponent", {6, 3}, flat), 6, 0.5, "HurstExponent");
    expect_from(run("TrendStrengthIndex", {3}, flat), 3, 0.0, "TrendStrengthIndex");
    expect_from(run("TrendLabel", {3}, flat), 3, 0.0, "TrendLabel");
    expect_from(run("PolarizedFractalEfficiency", {3, 2}, flat), 5, 0.0, "PolarizedFractalEfficiency");
    expect_from(run("VerticalHorizontalFilter", {3}, flat), 4, 0.0, "VerticalHorizontalFilter");
    expect_from(run("RviVolatility", {2}, flat), 3, 50.0, "RviVolatility");
}

TEST(CloseRegime, EntropyAndAutocorrelationByHand) {
    // Two distinct values, half of each: one bit.
    expect_from(run("ShannonEntropy", {4, 2}, {1, 5, 1, 5, 1, 5}), 4, 1.0, "two values");
    // One close in each of four bins: two bits.
    EXPECT_EQ(*run("ShannonEntropy", {4, 4}, {0, 1, 2, 3}).back(), 2.0);
    // mean 2.5, den 5, num 1.25.
    EXPECT_EQ(*run("Autocorrelation", {4, 1}, {1, 2, 3, 4}).back(), 0.25);
    // Templates 0,1,0,2,0,3 of length 1 (r tiny): the three zeros match each other,
    // none of them is followed by a match: B = 3, A = 0, value ln 3.
    EXPECT_EQ(*run("SampleEntropy", {7, 1, 0.01}, {0, 1, 0, 2, 0, 3, 7}).back(), std::log(3.0));
    // No template pair matches at all: 0.
    EXPECT_EQ(*run("SampleEntropy", {5, 1, 0.01}, {0, 1, 2, 3, 4}).back(), 0.0);
}

TEST(CloseRegime, HurstStaysInUnitInterval) {
    auto c = series(400);
    for (std::size_t i = 0; i < c.size(); i += 3) c[i] = c[i] * (i % 2 ? 1.3 : 0.7);
    for (auto params : std::vector<std::vector<double>>{{8, 4}, {20, 2}, {40, 6}, {64, 5}}) {
        for (auto v : run("HurstExponent", params, c)) {
            if (!v) continue;
            EXPECT_GE(*v, 0.0);
            EXPECT_LE(*v, 1.0);
        }
    }
}

TEST(CloseRegime, ReturnKindsByHand) {
    const double l = std::log(1.1);
    auto lr = run("LogReturn", {1}, {100, 0, -5, 110});
    EXPECT_FALSE(lr[0] || lr[1] || lr[2]);
    EXPECT_EQ(*lr[3], std::log(110.0 / 100.0));
    auto rv = run("RealizedVolatility", {2}, {100, 110, 121});
    EXPECT_FALSE(rv[0] || rv[1]);
    EXPECT_DOUBLE_EQ(*rv[2], l * std::sqrt(2.0));
    auto bv = run("BipowerVariation", {2}, {100, 110, 121});
    EXPECT_FALSE(bv[0] || bv[1]);
    EXPECT_DOUBLE_EQ(*bv[2], 1.5707963267948966 * l * l);
    auto ew = run("EwmaVolatility", {0.94}, {100, 110});
    EXPECT_FALSE(ew[0]);
    EXPECT_EQ(*ew[1], std::fabs(std::log(110.0 / 100.0)));
    EXPECT_EQ(*run("HistoricalVolatility", {2, 252}, {100, 110, 121}).back(), 0.0);

    // The first return gives the long-run level whatever its size; the second uses
    // the first return's square.
    auto g = run("Garch11", {1e-6, 0.1, 0.8}, {100, 300, 310});
    const double long_run = 1e-6 / ((1.0 - 0.1) - 0.8);
    EXPECT_EQ(*g[1], std::sqrt(long_run));
    EXPECT_DOUBLE_EQ(*g[1], std::sqrt(1e-5));
    const double q = std::log(3.0) * std::log(3.0);
    EXPECT_DOUBLE_EQ(*g[2], std::sqrt((1e-6 + q * 0.1) + long_run * 0.8));

    // Equal returns leave no variance: no jump, however large the next return.
    auto j = run("JumpIndicator", {3, 0.5}, {1, 2, 4, 8, 1000});
    EXPECT_EQ(j[4], std::optional<double>(0.0));
    auto up = run("JumpIndicator", {3, 1.0}, {100, 101, 100, 101, 150, 101});
    EXPECT_EQ(up[4], std::optional<double>(1.0));
    auto down = run("JumpIndicator", {3, 1.0}, {100, 101, 100, 101, 60});
    EXPECT_EQ(down[4], std::optional<double>(-1.0));

    // Zero and negative closes are refused without touching the state.
    for (auto k : {"RealizedVolatility", "BipowerVariation", "HistoricalVolatility", "VolatilityOfVolatility",
                   "EwmaVolatility", "Garch11", "JumpIndicator", "RegimeLabel"}) {
        std::vector<double> p = k == std::string("EwmaVolatility") ? std::vector<double>{0.9}
                                : k == std::string("Garch11")      ? std::vector<double>{1e-6, 0.1, 0.8}
                                : k == std::string("JumpIndicator") ? std::vector<double>{4, 1.0}
                                                                    : std::vector<double>{3, 3};
        if (k == std::string("RealizedVolatility") || k == std::string("BipowerVariation")) p = {3};
        if (k == std::string("HistoricalVolatility")) p = {3, 252};
        auto c = series(40);
        auto clean = run(k, p, c);
        auto ind = make(k, p);
        ASSERT_TRUE(ind);
        for (std::size_t i = 0; i < c.size(); ++i) {
            if (i % 5 == 2) {
                EXPECT_FALSE(ind->update(snap(0.0))) << k;
                EXPECT_FALSE(ind->update(snap(-0.0))) << k;
                EXPECT_FALSE(ind->update(snap(-3.0))) << k;
            }
            auto v = ind->update(snap(c[i]));
            ASSERT_EQ(v.has_value(), clean[i].has_value()) << k << " at " << i;
            if (v) EXPECT_TRUE(same_bits(*v, *clean[i])) << k << " at " << i;
        }
    }
}

TEST(CloseRegime, RviVolatility) {
    expect_from(run("RviVolatility", {2}, {1, 2, 3, 4, 5, 6}), 3, 100.0, "rising");
    // The core that the candle kinds embed gives the kind's values.
    auto core = ostrel::core::RviVolatility::make(5);
    ASSERT_TRUE(core.has_value());
    EXPECT_EQ(core->warmup_period(), 9u);
    auto c = series(60);
    auto kind = run("RviVolatility", {5}, c);
    for (std::size_t i = 0; i < c.size(); ++i) {
        auto v = core->step(c[i]);
        ASSERT_EQ(v.has_value(), kind[i].has_value());
        if (v) EXPECT_TRUE(same_bits(*v, *kind[i]));
    }
    EXPECT_FALSE(core->step(std::nan("")));
    ASSERT_FALSE(ostrel::core::RviVolatility::make(1).has_value());
    EXPECT_EQ(ostrel::core::RviVolatility::make(1).error().display(), "invalid period: RVI period must be >= 2");
}

TEST(CloseRegime, TrendLabelsByHand) {
    EXPECT_EQ(*run("TrendLabel", {3}, {1, 2, 3}).back(), 1.0);
    EXPECT_EQ(*run("TrendLabel", {3}, {3, 2, 1}).back(), -1.0);
    EXPECT_EQ(*run("TrendLabel", {3}, {1, 2, 1}).back(), 0.0);
    EXPECT_EQ(*run("TrendStrengthIndex", {3}, {1, 2, 3}).back(), 1.0);
    EXPECT_EQ(*run("TrendStrengthIndex", {3}, {3, 2, 1}).back(), -1.0);
    EXPECT_EQ(*run("TrendStrengthIndex", {3}, {1, 3, 2}).back(), 0.25);
    auto vhf = run("VerticalHorizontalFilter", {2}, {1, 2, 3});
    EXPECT_FALSE(vhf[0] || vhf[1]);
    EXPECT_EQ(*vhf[2], 0.5);
    auto pfe = run("PolarizedFractalEfficiency", {1, 1}, {1, 2, 1});
    EXPECT_FALSE(pfe[0]);
    EXPECT_EQ(*pfe[1], 100.0);
    EXPECT_EQ(*pfe[2], -100.0);
}

TEST(CloseRegime, RegimeLabel) {
    // Equal returns: every volatility is 0 and equals both quartiles.
    std::vector<double> geometric;
    for (int i = 0; i < 20; ++i) geometric.push_back(std::ldexp(1.0, i));
    expect_from(run("RegimeLabel", {3, 4}, geometric), 7, 0.0, "constant volatility");
    // A calm stretch, then a jump in volatility: above the upper quartile.
    std::vector<double> c(20, 0.0);
    for (std::size_t i = 0; i < c.size(); ++i) c[i] = 100.0 + (i % 2 ? 0.1 : 0.0);
    c.push_back(130.0);
    auto v = run("RegimeLabel", {3, 5}, c);
    EXPECT_EQ(v.back(), std::optional<double>(1.0));
}
