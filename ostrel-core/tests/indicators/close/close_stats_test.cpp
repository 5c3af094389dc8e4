// Window statistics, regression and quantile kinds; Bollinger-derived and MidPoint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "support/close_series_support.hpp"

using namespace closetest;

namespace {

const std::vector<std::size_t> kIdx = {60, 90, 120, 159};

// Reference values over series(160) at kIdx, from TA-Lib, SciPy and NumPy.
void expect_reference(std::string_view kind, std::vector<double> params, std::vector<double> want, double tol) {
    auto v = run(kind, params, series(160));
    for (std::size_t k = 0; k < kIdx.size(); ++k) {
        ASSERT_TRUE(v[kIdx[k]].has_value()) << kind;
        EXPECT_NEAR(*v[kIdx[k]], want[k], tol) << kind << " at " << kIdx[k];
    }
}

std::vector<double> window_at(const std::vector<double>& c, std::size_t i, std::size_t p) {
    return std::vector<double>(c.begin() + static_cast<std::ptrdiff_t>(i + 1 - p), c.begin() + static_cast<std::ptrdiff_t>(i + 1));
}

struct Moments {
    double mean, m2, m3, m4;
};
Moments two_pass(const std::vector<double>& w) {
    double n = static_cast<double>(w.size());
    double mean = std::accumulate(w.begin(), w.end(), 0.0) / n;
    Moments m{mean, 0, 0, 0};
    for (double x : w) {
        double d = x - mean;
        m.m2 += d * d / n;
        m.m3 += d * d * d / n;
        m.m4 += d * d * d * d / n;
    }
    return m;
}

}  // namespace

TEST(CloseStats, ConstructionChecks) {
    for (auto k : {"Variance", "StdDev", "ZScore", "CoefficientOfVariation", "MidPoint", "RollingIqr",
                   "MedianAbsoluteDeviation", "RollingPercentileRank"}) {
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, "period must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {1e300}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {16777216}), "built") << k;
        EXPECT_EQ(build_error(k, {}), params_error(k, "missing parameter #0")) << k;
    }
    EXPECT_EQ(build_error("Skewness", {1e-20}), params_error("Skewness", "invalid period: skewness needs period >= 3"));
    EXPECT_EQ(build_error("Skewness", {2}), params_error("Skewness", "invalid period: skewness needs period >= 3"));
    EXPECT_EQ(build_error("Skewness", {3}), "built");
    EXPECT_EQ(build_error("Skewness", {16777217}), params_error("Skewness", kMaxText));
    EXPECT_EQ(build_error("Kurtosis", {3}), params_error("Kurtosis", "invalid period: kurtosis needs period >= 4"));
    EXPECT_EQ(build_error("Kurtosis", {4}), "built");
    EXPECT_EQ(build_error("Kurtosis", {16777217}), params_error("Kurtosis", kMaxText));
    EXPECT_EQ(build_error("JarqueBera", {1e-20}), params_error("JarqueBera", "period must be greater than zero"));
    EXPECT_EQ(build_error("JarqueBera", {3}), params_error("JarqueBera", "invalid period: Jarque-Bera needs period >= 4"));
    EXPECT_EQ(build_error("JarqueBera", {16777217}), params_error("JarqueBera", kMaxText));

    const std::pair<const char*, const char*> reg[] = {
        {"LinRegSlope", "linear regression slope needs period >= 2"},
        {"LinRegAngle", "linear regression slope needs period >= 2"},
        {"LinRegIntercept", "linear regression intercept needs period >= 2"},
        {"LinearRegression", "linear regression needs period >= 2"},
        {"Tsf", "time series forecast needs period >= 2"},
        {"RSquared", "R\xc2\xb2 needs period >= 2"},
        {"StandardError", "standard error needs period >= 3"},
        {"DetrendedStdDev", "detrended stddev needs period >= 2"},
    };
    for (auto [k, detail] : reg) {
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, std::string("invalid period: ") + detail)) << k;
        EXPECT_EQ(build_error(k, {1}), params_error(k, std::string("invalid period: ") + detail)) << k;
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {3}), "built") << k;
    }
    EXPECT_EQ(build_error("StandardError", {2}), params_error("StandardError", "invalid period: standard error needs period >= 3"));
    EXPECT_EQ(build_error("DetrendedStdDev", {2}), "built");

    const std::string q = "invalid parameter: rolling quantile must be a finite value in [0.0, 1.0]";
    EXPECT_EQ(build_error("RollingQuantile", {10}), params_error("RollingQuantile", "missing parameter #1"));
    EXPECT_EQ(build_error("RollingQuantile", {10, 1.5}), params_error("RollingQuantile", q));
    EXPECT_EQ(build_error("RollingQuantile", {10, -0.1}), params_error("RollingQuantile", q));
    EXPECT_EQ(build_error("RollingQuantile", {0.5, 1.5}), params_error("RollingQuantile", "parameter #0 must be a positive integer, got 0.5"));
    EXPECT_EQ(build_error("RollingQuantile", {1e-20, 1.5}), params_error("RollingQuantile", "period must be greater than zero"));
    EXPECT_EQ(build_error("RollingQuantile", {10, 0.5, 7}), "built");
    EXPECT_EQ(build_error("RollingQuantile", {10, -0.0}), "built");
    EXPECT_EQ(build_error("RollingMinMaxScaler", {1}), params_error("RollingMinMaxScaler", "invalid period: min-max scaler needs period >= 2"));
    EXPECT_EQ(build_error("RollingMinMaxScaler", {1e-20}), params_error("RollingMinMaxScaler", "period must be greater than zero"));
    EXPECT_EQ(build_error("RollingMinMaxScaler", {16777217}), params_error("RollingMinMaxScaler", kMaxText));

    for (auto k : {"BollingerBandwidth", "PercentB"}) {
        EXPECT_EQ(build_error(k, {20}), params_error(k, "missing parameter #1")) << k;
        EXPECT_EQ(build_error(k, {20, 2.0}), "built") << k;
        EXPECT_EQ(build_error(k, {20, 0.0}), params_error(k, "multiplier must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {20, -1.0}), params_error(k, "multiplier must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {20, std::nan("")}), params_error(k, "parameter #1 must be finite")) << k;
        EXPECT_EQ(build_error(k, {1e-20, 0.0}), params_error(k, "period must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {16777217, 0.0}), params_error(k, kMaxText)) << k;
    }
}

TEST(CloseStats, WarmupAndNonFiniteCloses) {
    const std::vector<std::pair<const char*, std::vector<double>>> kinds = {
        {"Variance", {10}}, {"StdDev", {10}}, {"ZScore", {10}}, {"CoefficientOfVariation", {10}},
        {"Skewness", {9}}, {"Kurtosis", {9}}, {"JarqueBera", {9}}, {"LinRegSlope", {8}},
        {"LinRegAngle", {8}}, {"LinRegIntercept", {8}}, {"LinearRegression", {8}}, {"Tsf", {8}},
        {"RSquared", {8}}, {"StandardError", {8}}, {"DetrendedStdDev", {8}}, {"RollingQuantile", {7, 0.3}},
        {"RollingIqr", {7}}, {"MedianAbsoluteDeviation", {6}}, {"RollingPercentileRank", {7}},
        {"RollingMinMaxScaler", {7}}, {"BollingerBandwidth", {6, 2.0}}, {"PercentB", {6, 2.0}}, {"MidPoint", {5}},
    };
    for (auto& [k, p] : kinds) {
        expect_warmup(k, p);
        expect_skips_non_finite(k, p);
        EXPECT_EQ(make(k, p)->warmup_period(), static_cast<std::size_t>(p[0])) << k;
    }
}

TEST(CloseStats, MomentsHandValues) {
    auto v = run("Variance", {3}, {1, 2, 3});
    EXPECT_FALSE(v[0]);
    EXPECT_FALSE(v[1]);
    EXPECT_DOUBLE_EQ(*v[2], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(*run("StdDev", {3}, {1, 2, 3})[2], std::sqrt(2.0 / 3.0));
    std::vector<double> flat(12, 7.25);
    for (auto k : {"Variance", "StdDev", "ZScore", "Skewness", "Kurtosis", "JarqueBera"}) {
        auto f = run(k, {5}, flat);
        for (std::size_t i = 4; i < flat.size(); ++i) EXPECT_EQ(*f[i], 0.0) << k;
    }
    for (auto x : run("ZScore", {1}, {3, -1, 8})) EXPECT_EQ(*x, 0.0);
    EXPECT_EQ(*run("CoefficientOfVariation", {2}, {-1, 1})[1], 0.0);
    EXPECT_DOUBLE_EQ(*run("CoefficientOfVariation", {2}, {-1, -3})[1], 1.0 / -2.0);
    // Closes 1, 2, 6: mean 3, deviations -2, -1, 3; var 14/3, third moment 18/3.
    EXPECT_DOUBLE_EQ(*run("ZScore", {3}, {1, 2, 6})[2], 3.0 / std::sqrt(14.0 / 3.0));
    EXPECT_NEAR(*run("Skewness", {3}, {1, 2, 6})[2], 6.0 / std::pow(14.0 / 3.0, 1.5), 1e-14);
    // Closes 1, 2, 3, 10: mean 4; deviations -3, -2, -1, 6.
    double m2 = 50.0 / 4, m4 = (81 + 16 + 1 + 1296) / 4.0, m3 = (-27 - 8 - 1 + 216) / 4.0;
    EXPECT_NEAR(*run("Kurtosis", {4}, {1, 2, 3, 10})[3], m4 / (m2 * m2) - 3.0, 1e-13);
    double skew = m3 / std::pow(m2, 1.5), ex = m4 / (m2 * m2) - 3.0;
    EXPECT_NEAR(*run("JarqueBera", {4}, {1, 2, 3, 10})[3], 4.0 / 6.0 * (skew * skew + ex * ex / 4.0), 1e-13);
}

TEST(CloseStats, MomentsAgreeWithTwoPassAndPeers) {
    auto c = series(400);
    for (double& x : c) x = x * 1000.0 + 1e6;  // large mean: drift would show
    const std::size_t p = 13;
    auto var = run("Variance", {13}, c), sd = run("StdDev", {13}, c), z = run("ZScore", {13}, c),
         cv = run("CoefficientOfVariation", {13}, c), sk = run("Skewness", {13}, c), ku = run("Kurtosis", {13}, c),
         jb = run("JarqueBera", {13}, c);
    for (std::size_t i = p - 1; i < c.size(); ++i) {
        auto m = two_pass(window_at(c, i, p));
        EXPECT_NEAR(*var[i], m.m2, 1e-9 * m.m2) << i;
        EXPECT_NEAR(*sd[i], std::sqrt(m.m2), 1e-9 * std::sqrt(m.m2)) << i;
        EXPECT_NEAR(*z[i], (c[i] - m.mean) / std::sqrt(m.m2), 1e-7) << i;
        EXPECT_NEAR(*cv[i], std::sqrt(m.m2) / m.mean, 1e-12) << i;
        EXPECT_NEAR(*sk[i], m.m3 / std::pow(m.m2, 1.5), 1e-6) << i;
        EXPECT_NEAR(*ku[i], m.m4 / (m.m2 * m.m2) - 3.0, 1e-6) << i;
        double s = m.m3 / std::pow(m.m2, 1.5), e = m.m4 / (m.m2 * m.m2) - 3.0;
        EXPECT_NEAR(*jb[i], 13.0 / 6.0 * (s * s + 0.25 * e * e), 1e-9) << i;
    }
    expect_reference("Variance", {10}, {23.29211425573178, 38.523899005516625, 43.83935302853884, 26.543211072015794}, 1e-9);
    expect_reference("StdDev", {10}, {4.82619044959187, 6.206762360966998, 6.6211292864993085, 5.152010391295401}, 1e-10);
    expect_reference("ZScore", {10}, {-0.19921295633696245, 1.150034516412334, -1.3141808784576436, -1.739699059239567}, 1e-10);
    expect_reference("CoefficientOfVariation", {10}, {0.0488967965405502, 0.05698157980349149, 0.06215063572971395, 0.04530622535053684}, 1e-12);
    expect_reference("Skewness", {20}, {-0.09713015330277525, 0.060982360364999204, -0.07395254150010876, -0.11469442048231662}, 1e-9);
    expect_reference("Kurtosis", {20}, {-1.432071957629733, -1.4177912273589501, -1.4787929599118834, -1.3721713633187338}, 1e-9);
    expect_reference("JarqueBera", {20}, {1.7404726321266166, 1.6875061312322879, 1.8405871098852087, 1.6128945755592385}, 1e-9);
}

TEST(CloseStats, AnchorRebuildsEveryPeriod) {
    // Closes far from the first one: after a rebuild (first when the window fills,
    // then every `period` updates) the variance is exact again, so a window of
    // small integers around 1e9 gives their exact population variance.
    std::vector<double> c = {0.0};
    for (int i = 0; i < 40; ++i) c.push_back(1e9 + (i % 4));  // windows of 4: 0,1,2,3 in some order
    auto v = run("Variance", {4}, c);
    // Update 4 + 4k rebuilds; closes 1..4 fill windows with 1e9 + {0..3}.
    for (std::size_t i = 8; i < c.size(); i += 4) EXPECT_EQ(*v[i], 1.25) << i;
}

TEST(CloseStats, RegressionHandValues) {
    const std::vector<double> up = {1, 2, 3};
    EXPECT_DOUBLE_EQ(*run("LinRegSlope", {3}, up)[2], 1.0);
    EXPECT_DOUBLE_EQ(*run("LinRegAngle", {3}, up)[2], 45.0);
    EXPECT_DOUBLE_EQ(*run("LinRegIntercept", {3}, up)[2], 1.0);
    EXPECT_DOUBLE_EQ(*run("LinearRegression", {3}, up)[2], 3.0);
    EXPECT_DOUBLE_EQ(*run("Tsf", {3}, up)[2], 4.0);
    EXPECT_DOUBLE_EQ(*run("RSquared", {3}, up)[2], 1.0);
    EXPECT_EQ(*run("StandardError", {3}, up)[2], 0.0);
    EXPECT_EQ(*run("DetrendedStdDev", {3}, up)[2], 0.0);
    const std::vector<double> zig = {1, 3, 2};
    EXPECT_DOUBLE_EQ(*run("LinRegSlope", {3}, zig)[2], 0.5);
    EXPECT_DOUBLE_EQ(*run("LinRegIntercept", {3}, zig)[2], 1.5);
    EXPECT_DOUBLE_EQ(*run("RSquared", {3}, zig)[2], 0.25);
    EXPECT_DOUBLE_EQ(*run("StandardError", {3}, zig)[2], std::sqrt(1.5));
    EXPECT_DOUBLE_EQ(*run("DetrendedStdDev", {3}, zig)[2], std::sqrt(0.5));
    const std::vector<double> flat = {4, 4, 4, 4};
    EXPECT_EQ(*run("LinRegSlope", {3}, flat)[3], 0.0);
    EXPECT_EQ(*run("LinRegAngle", {3}, flat)[3], 0.0);
    EXPECT_EQ(*run("RSquared", {3}, flat)[3], 1.0);
}

TEST(CloseStats, RegressionAgreesWithFreshFitAndPeers) {
    auto c = series(500);
    const std::size_t p = 11;
    auto slope = run("LinRegSlope", {11}, c), icpt = run("LinRegIntercept", {11}, c),
         lr = run("LinearRegression", {11}, c), tsf = run("Tsf", {11}, c), r2 = run("RSquared", {11}, c),
         se = run("StandardError", {11}, c), dsd = run("DetrendedStdDev", {11}, c);
    for (std::size_t i = p - 1; i < c.size(); ++i) {
        auto w = window_at(c, i, p);
        double n = static_cast<double>(p), xm = (n - 1) / 2, ym = std::accumulate(w.begin(), w.end(), 0.0) / n;
        double sxy = 0, sxx = 0, syy = 0;
        for (std::size_t k = 0; k < p; ++k) {
            sxy += (k - xm) * (w[k] - ym);
            sxx += (k - xm) * (k - xm);
            syy += (w[k] - ym) * (w[k] - ym);
        }
        double b = sxy / sxx, a = ym - b * xm, sse = 0;
        for (std::size_t k = 0; k < p; ++k) sse += std::pow(w[k] - (a + b * k), 2);
        EXPECT_NEAR(*slope[i], b, 1e-10) << i;
        EXPECT_NEAR(*icpt[i], a, 1e-9) << i;
        EXPECT_NEAR(*lr[i], a + b * (n - 1), 1e-9) << i;
        EXPECT_NEAR(*tsf[i], a + b * n, 1e-9) << i;
        EXPECT_NEAR(*r2[i], sxy * sxy / (sxx * syy), 1e-9) << i;
        EXPECT_NEAR(*se[i], std::sqrt(sse / (n - 2)), 1e-9) << i;
        EXPECT_NEAR(*dsd[i], std::sqrt(sse / n), 1e-9) << i;
    }
    expect_reference("LinearRegression", {14}, {91.492928883666, 117.7837763588106, 98.76427618198898, 110.99195390339278}, 1e-9);
    expect_reference("LinRegSlope", {14}, {-1.6997218240721392, 1.9620533381774665, -1.5777350224475315, -0.296814380066235}, 1e-10);
    expect_reference("LinRegIntercept", {14}, {113.5893125966038, 92.27708296250353, 119.27483147380688, 114.85054084425384}, 1e-9);
    expect_reference("LinRegAngle", {14}, {-59.530357331331075, 62.99341888176205, -57.63265987776693, -16.53164585952452}, 1e-8);
    expect_reference("Tsf", {14}, {89.79320705959385, 119.74582969698805, 97.18654115954145, 110.69513952332655}, 1e-9);
    expect_reference("RSquared", {14}, {0.8665795458100671, 0.9549444679434911, 0.8594697231592706, 0.05957114434910717}, 1e-10);
    expect_reference("StandardError", {14}, {2.9039218101124344, 1.8556492466189416, 2.777818099518661, 5.134876668689111}, 1e-9);
    expect_reference("DetrendedStdDev", {14}, {2.6885091799699823, 1.7179973706476084, 2.571759830046366, 4.7539720297254995}, 1e-9);
}

TEST(CloseStats, QuantilesAndRanks) {
    auto q = [](double qq, std::vector<double> c) { return *run("RollingQuantile", {static_cast<double>(c.size()), qq}, c).back(); };
    EXPECT_EQ(q(0.25, {1, 2, 3, 4}), 1.75);
    EXPECT_EQ(q(0.0, {5, -2, 9, 4}), -2.0);
    EXPECT_EQ(q(1.0, {5, -2, 9, 4}), 9.0);
    EXPECT_EQ(q(0.5, {5, -2, 9, 4}), 4.5);
    EXPECT_EQ(q(0.5, {5, -2, 9}), 5.0);
    EXPECT_EQ(q(0.7, {3}), 3.0);
    EXPECT_EQ(*run("RollingIqr", {4}, {1, 2, 3, 4})[3], 1.5);
    EXPECT_EQ(*run("MedianAbsoluteDeviation", {5}, {1, 2, 3, 4, 100})[4], 1.0);
    EXPECT_EQ(*run("RollingPercentileRank", {4}, {1, 2, 2, 2})[3], 62.5);
    EXPECT_EQ(*run("RollingPercentileRank", {4}, {5, 6, 7, 1})[3], 12.5);
    auto mm = run("RollingMinMaxScaler", {3}, {2, 2, 2, 5, 1, 3});
    EXPECT_EQ(*mm[2], 0.5);
    EXPECT_EQ(*mm[3], 1.0);
    EXPECT_EQ(*mm[4], 0.0);
    EXPECT_EQ(*mm[5], 0.5);
    // The sorted copy follows the window: an old extreme leaves on time.
    auto roll = run("RollingQuantile", {3, 1.0}, {9, 1, 2, 3, 0, 0});
    EXPECT_EQ(*roll[2], 9.0);
    EXPECT_EQ(*roll[3], 3.0);
    EXPECT_EQ(*roll[5], 3.0);
    // -0 sorts before +0 whatever the arrival order: the maximum is +0.
    EXPECT_FALSE(std::signbit(*run("RollingQuantile", {2, 1.0}, {-0.0, 0.0})[1]));
    EXPECT_FALSE(std::signbit(*run("RollingQuantile", {2, 1.0}, {0.0, -0.0})[1]));

    expect_reference("RollingQuantile", {15, 0.3}, {96.05374276750366, 97.98478180728836, 104.83408217257964, 108.6259627776761}, 1e-10);
    expect_reference("RollingIqr", {15}, {15.694825105326714, 15.61692111293894, 11.945225817243738, 9.212916799485441}, 1e-10);
    expect_reference("MedianAbsoluteDeviation", {15}, {6.525991545048015, 7.312698521932532, 5.230659908769823, 4.632382141896841}, 1e-10);
    expect_reference("RollingPercentileRank", {15}, {36.66666666666667, 96.66666666666667, 10.0, 10.0}, 1e-12);

    // MAD of an even window against a sort of the deviations.
    auto c = series(200);
    auto mad = run("MedianAbsoluteDeviation", {8}, c);
    for (std::size_t i = 7; i < c.size(); ++i) {
        auto w = window_at(c, i, 8);
        std::sort(w.begin(), w.end());
        double med = (w[3] + w[4]) / 2;
        for (double& x : w) x = std::fabs(x - med);
        std::sort(w.begin(), w.end());
        EXPECT_EQ(*mad[i], (w[3] + w[4]) / 2) << i;
    }
}

TEST(CloseStats, BollingerDerivedAndMidPoint) {
    std::vector<double> two(6, 2.0);
    EXPECT_EQ(*run("BollingerBandwidth", {4, 2.0}, two)[5], 0.0);
    EXPECT_EQ(*run("PercentB", {4, 2.0}, two)[5], 0.5);
    EXPECT_EQ(*run("BollingerBandwidth", {2, 2.0}, {-1, 1})[1], 0.0);
    // Closes 1, 3: middle 2, sd 1, bands 0 and 4 with multiplier 2.
    EXPECT_EQ(*run("BollingerBandwidth", {2, 2.0}, {1, 3})[1], 2.0);
    EXPECT_EQ(*run("PercentB", {2, 2.0}, {1, 3})[1], 0.75);
    expect_reference("BollingerBandwidth", {20, 2.0}, {0.26747340900844924, 0.27652301344174535, 0.2527778013960671, 0.2649952718591027}, 1e-12);
    expect_reference("PercentB", {20, 2.0}, {0.27327599364188704, 0.8836350588999621, 0.1503980799792426, 0.34928060669889344}, 1e-10);

    EXPECT_EQ(*run("MidPoint", {3}, {1, 5, 3})[2], 3.0);
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(*run("MidPoint", {2}, {big, big * 0.5})[1], big * 0.75);
    EXPECT_EQ(*run("MidPoint", {2}, {big, -big})[1], 0.0);
    // +0 is the larger zero whatever the order, -0 the smaller: the midpoint of the
    // window {-0, +0} is (+0 + -0) * 0.5 = +0; of {-0, -0} it is -0.
    EXPECT_FALSE(std::signbit(*run("MidPoint", {2}, {-0.0, 0.0})[1]));
    EXPECT_FALSE(std::signbit(*run("MidPoint", {2}, {0.0, -0.0})[1]));
    EXPECT_TRUE(std::signbit(*run("MidPoint", {2}, {-0.0, -0.0})[1]));
    expect_reference("MidPoint", {7}, {96.47459316565451, 111.2179200046499, 104.02642348561571, 111.7783141976835}, 1e-12);
}
