// Multi-stage, adaptive and MESA moving averages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "support/close_series_support.hpp"
#include "indicators/core/mama.hpp"

using namespace closetest;

namespace {

// Textbook exponential average seeded with the mean of the first p inputs; absent
// inputs stay absent.
Values ema_ref(const Values& in, std::size_t p) {
    Values out(in.size());
    double alpha = 2.0 / (p + 1.0), seed = 0, prev = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (!in[i]) continue;
        if (n < p) {
            seed += *in[i];
            if (++n == p) out[i] = prev = seed / p;
            continue;
        }
        out[i] = prev = alpha * *in[i] + (1 - alpha) * prev;
    }
    return out;
}

Values wma_ref(const Values& in, std::size_t p) {
    Values out(in.size());
    std::vector<double> w;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (!in[i]) continue;
        w.push_back(*in[i]);
        if (w.size() < p) continue;
        double s = 0;
        for (std::size_t k = 0; k < p; ++k) s += (k + 1.0) * w[w.size() - p + k];
        out[i] = s / (p * (p + 1) / 2.0);
    }
    return out;
}

Values lift(const std::vector<double>& c) { return Values(c.begin(), c.end()); }

void expect_close_values(const Values& got, const Values& want, double tol, const char* what) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].has_value(), want[i].has_value()) << what << " at " << i;
        if (got[i]) {
            EXPECT_NEAR(*got[i], *want[i], tol) << what << " at " << i;
        }
    }
}

void expect_identical(const Values& a, const Values& b, std::size_t from, const char* what) {
    for (std::size_t i = from; i < a.size(); ++i) {
        ASSERT_TRUE(a[i] && b[i]) << what << " at " << i;
        EXPECT_TRUE(same_bits(*a[i], *b[i])) << what << " at " << i;
    }
}

}  // namespace

TEST(CloseMa, ConstructionChecks) {
    for (auto k : {"Dema", "Tema", "Zlema", "Hma", "Ehma", "McGinleyDynamic"}) {
        EXPECT_EQ(build_error(k, {1e-20}), params_error(k, "period must be greater than zero")) << k;
        EXPECT_EQ(build_error(k, {16777217}), params_error(k, kMaxText)) << k;
        EXPECT_EQ(build_error(k, {16777216}), "built") << k;
    }
    const std::string t3 = "invalid period: T3 volume factor must be a finite value in [0.0, 1.0]";
    EXPECT_EQ(build_error("T3", {5}), params_error("T3", "missing parameter #1"));
    EXPECT_EQ(build_error("T3", {5, 1.5}), params_error("T3", t3));
    EXPECT_EQ(build_error("T3", {5, -0.1}), params_error("T3", t3));
    EXPECT_EQ(build_error("T3", {1e-20, 1.5}), params_error("T3", "period must be greater than zero"));
    EXPECT_EQ(build_error("T3", {16777217, 1.5}), params_error("T3", kMaxText));
    EXPECT_EQ(build_error("T3", {5, 0.0}), "built");
    const std::string gd = "invalid period: GD volume factor must be a finite value in [0.0, 1.0]";
    EXPECT_EQ(build_error("GeneralizedDema", {10, 1.5}), params_error("GeneralizedDema", gd));
    EXPECT_EQ(build_error("GeneralizedDema", {10, 0.0}), "built");
    EXPECT_EQ(build_error("GeneralizedDema", {10, -0.0}), "built");
    EXPECT_EQ(build_error("GeneralizedDema", {10, 1.0}), "built");
    EXPECT_EQ(build_error("GeneralizedDema", {16777217, 0.5}), params_error("GeneralizedDema", kMaxText));

    const std::string kama = "invalid period: KAMA fast period must be strictly less than slow";
    EXPECT_EQ(build_error("Kama", {10, 2}), params_error("Kama", "missing parameter #2"));
    EXPECT_EQ(build_error("Kama", {10, 10, 10}), params_error("Kama", kama));
    EXPECT_EQ(build_error("Kama", {1e-20, 10, 10}), params_error("Kama", "period must be greater than zero"));
    EXPECT_EQ(build_error("Kama", {10, 2, 1e-20}), params_error("Kama", "period must be greater than zero"));
    EXPECT_EQ(build_error("Kama", {10, 2, 30}), "built");
    EXPECT_EQ(build_error("Kama", {16777216, 2, 30}), "built");
    // The window holds period + 1 closes: an enormous period is refused, never wrapped.
    EXPECT_EQ(build_error("Kama", {16777217, 2, 30}), params_error("Kama", kMaxText));
    EXPECT_EQ(build_error("Kama", {1e300, 2, 30}), params_error("Kama", kMaxText));
    EXPECT_EQ(build_error("Kama", {1e300, 30, 2}), params_error("Kama", kama));
    EXPECT_EQ(build_error("Kama", {10, 1e15, 1e16}), "built");

    EXPECT_EQ(build_error("Vidya", {1e-20, 9}), params_error("Vidya", "period must be greater than zero"));
    EXPECT_EQ(build_error("Vidya", {9, 1e-20}), params_error("Vidya", "period must be greater than zero"));
    EXPECT_EQ(build_error("Vidya", {9, 16777217}), params_error("Vidya", kMaxText));
    EXPECT_EQ(build_error("Vidya", {1e300, 9}), "built");

    EXPECT_EQ(build_error("Frama", {1e-20}), params_error("Frama", "period must be greater than zero"));
    EXPECT_EQ(build_error("Frama", {1}), params_error("Frama", "invalid period: FRAMA period must be at least 2"));
    EXPECT_EQ(build_error("Frama", {3}), params_error("Frama", "invalid period: FRAMA period must be even"));
    EXPECT_EQ(build_error("Frama", {16777217}), params_error("Frama", kMaxText));
    EXPECT_EQ(build_error("Frama", {2}), "built");

    EXPECT_EQ(build_error("Jma", {10, 0.5, 2.5}), params_error("Jma", "parameter #2 must be a u32, got 2.5"));
    EXPECT_EQ(build_error("Jma", {10, 0, 0}), params_error("Jma", "invalid period: JMA power must be in 1..=4"));
    EXPECT_EQ(build_error("Jma", {10, 0, 5}), params_error("Jma", "invalid period: JMA power must be in 1..=4"));
    EXPECT_EQ(build_error("Jma", {16777217, 0, 5}), params_error("Jma", kMaxText));
    EXPECT_EQ(build_error("Jma", {10, -1e6, 4}), "built");

    const std::string off = "invalid period: ALMA offset must be a finite value in [0, 1]";
    const std::string sig = "invalid period: ALMA sigma must be a finite positive value";
    EXPECT_EQ(build_error("Alma", {9, 1.5, 0}), params_error("Alma", off));
    EXPECT_EQ(build_error("Alma", {9, 0.85, 0}), params_error("Alma", sig));
    EXPECT_EQ(build_error("Alma", {9, 0.85, -1}), params_error("Alma", sig));
    EXPECT_EQ(build_error("Alma", {1e-20, 2, 0}), params_error("Alma", "period must be greater than zero"));
    EXPECT_EQ(build_error("Alma", {16777217, 2, 0}), params_error("Alma", kMaxText));
    EXPECT_EQ(build_error("Alma", {9, 0.85, 6}), "built");

    EXPECT_EQ(build_error("HoltWinters", {2.0}), params_error("HoltWinters", "missing parameter #1"));
    EXPECT_EQ(build_error("HoltWinters", {0.0, 0.5}), params_error("HoltWinters", "invalid period: HoltWinters alpha must be in (0.0, 1.0]"));
    EXPECT_EQ(build_error("HoltWinters", {1.5, 0.0}), params_error("HoltWinters", "invalid period: HoltWinters alpha must be in (0.0, 1.0]"));
    EXPECT_EQ(build_error("HoltWinters", {0.5, 0.0}), params_error("HoltWinters", "invalid period: HoltWinters beta must be in (0.0, 1.0]"));
    EXPECT_EQ(build_error("HoltWinters", {0.5, -0.0}), params_error("HoltWinters", "invalid period: HoltWinters beta must be in (0.0, 1.0]"));
    EXPECT_EQ(build_error("HoltWinters", {1.0, 1.0}), "built");

    const std::string mama = "invalid period: fast_limit, slow_limit must satisfy 0 < slow_limit <= fast_limit <= 1";
    for (auto k : {"Mama", "Fama"}) {
        EXPECT_EQ(build_error(k, {0.5, 0.05}), "built") << k;
        EXPECT_EQ(build_error(k, {0.3, 0.3}), "built") << k;
        EXPECT_EQ(build_error(k, {0.5}), params_error(k, "missing parameter #1")) << k;
        EXPECT_EQ(build_error(k, {0.5, 0.6}), params_error(k, mama)) << k;
        EXPECT_EQ(build_error(k, {0.5, 0.0}), params_error(k, mama)) << k;
        EXPECT_EQ(build_error(k, {0.5, -0.1}), params_error(k, mama)) << k;
        EXPECT_EQ(build_error(k, {1.5, 0.05}), params_error(k, mama)) << k;
    }
    EXPECT_FALSE(ostrel::core::Mama::make(std::nan(""), 0.05));
    EXPECT_FALSE(ostrel::core::Mama::make(0.5, INFINITY));
}

TEST(CloseMa, WarmupAndNonFiniteCloses) {
    const std::vector<std::pair<const char*, std::vector<double>>> kinds = {
        {"Dema", {5}}, {"Tema", {5}}, {"T3", {4, 0.7}}, {"GeneralizedDema", {5, 0.7}}, {"Zlema", {6}},
        {"Hma", {9}}, {"Ehma", {9}}, {"Kama", {10, 2, 30}}, {"Vidya", {9, 5}}, {"Frama", {10}},
        {"Jma", {7, 50, 2}}, {"Alma", {9, 0.85, 6}}, {"McGinleyDynamic", {8}}, {"HoltWinters", {0.3, 0.2}},
        {"Mama", {0.5, 0.05}}, {"Fama", {0.5, 0.05}},
    };
    for (auto& [k, p] : kinds) {
        expect_warmup(k, p);
        expect_skips_non_finite(k, p, 120);
    }
    EXPECT_EQ(make("Dema", {5})->warmup_period(), 9u);
    EXPECT_EQ(make("GeneralizedDema", {5, 0.5})->warmup_period(), 9u);
    EXPECT_EQ(make("Tema", {5})->warmup_period(), 13u);
    EXPECT_EQ(make("T3", {4, 0.7})->warmup_period(), 19u);
    EXPECT_EQ(make("Zlema", {5})->warmup_period(), 7u);
    EXPECT_EQ(make("Hma", {4})->warmup_period(), 5u);
    EXPECT_EQ(make("Ehma", {9})->warmup_period(), 11u);
    EXPECT_EQ(make("Hma", {1})->warmup_period(), 1u);
    EXPECT_EQ(make("Kama", {10, 2, 30})->warmup_period(), 11u);
    EXPECT_EQ(make("Vidya", {20, 9})->warmup_period(), 10u);
    EXPECT_EQ(make("Jma", {7, 0, 1})->warmup_period(), 1u);
    EXPECT_EQ(make("HoltWinters", {0.5, 0.5})->warmup_period(), 2u);
    EXPECT_EQ(make("Mama", {0.5, 0.05})->warmup_period(), 33u);
    EXPECT_EQ(make("Fama", {0.5, 0.05})->warmup_period(), 33u);
}

TEST(CloseMa, PeriodOneAndDegenerateFactors) {
    auto c = series(40);
    for (auto [k, p] : std::vector<std::pair<const char*, std::vector<double>>>{
             {"Dema", {1}}, {"Tema", {1}}, {"T3", {1, 0.0}}, {"GeneralizedDema", {1, 0.0}},
             {"GeneralizedDema", {1, 1.0}}, {"Zlema", {1}}, {"Alma", {1, 0.3, 2}}}) {
        auto v = run(k, p, c);
        for (std::size_t i = 0; i < c.size(); ++i) EXPECT_EQ(*v[i], c[i]) << k << " at " << i;
    }
    auto t3 = run("T3", {1, 0.7}, c);
    for (std::size_t i = 0; i < c.size(); ++i) EXPECT_NEAR(*t3[i], c[i], 1e-12);
    // GD with factor 1 is the double average, with 0 the first average.
    expect_identical(run("GeneralizedDema", {6, 1.0}, c), run("Dema", {6}, c), 10, "GD(1) = Dema");
    expect_identical(run("GeneralizedDema", {6, 0.0}, c), run("Ema", {6}, c), 10, "GD(0) = Ema");
}

TEST(CloseMa, ChainedAveragesAgainstReferences) {
    auto c = series(160);
    auto x = lift(c);
    const std::size_t p = 7;
    auto e1 = ema_ref(x, p), e2 = ema_ref(e1, p), e3 = ema_ref(e2, p);
    Values dema(c.size()), tema(c.size());
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (e2[i]) dema[i] = 2 * *e1[i] - *e2[i];
        if (e3[i]) tema[i] = 3 * *e1[i] - 3 * *e2[i] + *e3[i];
    }
    expect_close_values(run("Dema", {7}, c), dema, 1e-9, "Dema");
    expect_close_values(run("Tema", {7}, c), tema, 1e-9, "Tema");
    auto e4 = ema_ref(e3, p), e5 = ema_ref(e4, p), e6 = ema_ref(e5, p);
    Values t3(c.size());
    const double a = 0.7;
    for (std::size_t i = 0; i < c.size(); ++i)
        if (e6[i])
            t3[i] = -a * a * a * *e6[i] + (3 * a * a + 3 * a * a * a) * *e5[i] +
                    (-6 * a * a - 3 * a - 3 * a * a * a) * *e4[i] + (1 + 3 * a + a * a * a + 3 * a * a) * *e3[i];
    expect_close_values(run("T3", {7, 0.7}, c), t3, 1e-9, "T3");
    auto t30 = run("T3", {7, 0.0}, c);
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (t30[i]) {
            EXPECT_NEAR(*t30[i], *e3[i], 1e-9);
        }
    }

    // Hull: wma(round(sqrt(n))) of 2 wma(n/2) - wma(n); 10 rounds sqrt to 3, 20 to 4.
    for (std::size_t n : {4u, 10u, 20u}) {
        auto h = wma_ref(x, n / 2), f = wma_ref(x, n);
        Values d(c.size());
        for (std::size_t i = 0; i < c.size(); ++i) if (h[i] && f[i]) d[i] = 2 * *h[i] - *f[i];
        std::size_t s = static_cast<std::size_t>(std::lround(std::sqrt(n)));
        expect_close_values(run("Hma", {static_cast<double>(n)}, c), wma_ref(d, s), 1e-9, "Hma");
        auto eh = ema_ref(x, n / 2), ef = ema_ref(x, n);
        Values ed(c.size());
        for (std::size_t i = 0; i < c.size(); ++i) if (eh[i] && ef[i]) ed[i] = 2 * *eh[i] - *ef[i];
        expect_close_values(run("Ehma", {static_cast<double>(n)}, c), ema_ref(ed, s), 1e-9, "Ehma");
    }
    // Zlema of 5: lag 2, average of 2 x - x[t - 2].
    Values dl(c.size());
    for (std::size_t i = 2; i < c.size(); ++i) dl[i] = 2 * c[i] - c[i - 2];
    expect_close_values(run("Zlema", {5}, c), ema_ref(dl, 5), 1e-9, "Zlema");

    // TA-Lib DEMA(10), TEMA(10), T3(5, 0.7) seed the same way.
    const std::size_t idx[] = {60, 90, 120, 159};
    const double dema10[] = {95.14836507804982, 114.78644782100332, 100.44923541265636, 109.47889684516987};
    const double tema10[] = {93.70825924817336, 117.36049730039149, 97.4325587750698, 107.10966853789908};
    const double t3_5[] = {94.27556134283434, 114.07437086641347, 101.74457464875182, 111.50484103976854};
    auto d10 = run("Dema", {10}, c), te10 = run("Tema", {10}, c), t35 = run("T3", {5, 0.7}, c);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(*d10[idx[k]], dema10[k], 1e-9);
        EXPECT_NEAR(*te10[idx[k]], tema10[k], 1e-9);
        EXPECT_NEAR(*t35[idx[k]], t3_5[k], 1e-9);
    }
}

TEST(CloseMa, AdaptiveAveragesHandValues) {
    // Kama(2, 2, 30): fast 2/3, slow 2/31.
    auto k = run("Kama", {2, 2, 30}, {1, 2, 4, 3});
    EXPECT_FALSE(k[1]);
    EXPECT_NEAR(*k[2], 1 + 4.0 / 9 * 3, 1e-15);  // er 1, seeded from the oldest close
    EXPECT_NEAR(*k[3], 7.0 / 3 + 5476.0 / 77841 * (2.0 / 3), 1e-15);  // er 1/3
    auto flat = run("Kama", {3, 2, 30}, std::vector<double>(8, 4.5));
    for (std::size_t i = 3; i < 8; ++i) EXPECT_EQ(*flat[i], 4.5);

    auto f = run("Frama", {4}, {5, 5, 1, 3, 7, 7});
    EXPECT_NEAR(*f[3], 3.0, 1e-15);                 // older half flat: a = 0.01
    EXPECT_NEAR(*f[4], 3.5928118972819174, 1e-14);  // a = exp(-4.6 log2(4/3))
    EXPECT_NEAR(*f[5], 7 * 0.01 + 0.99 * 3.5928118972819174, 1e-14);  // newer half flat

    // Jma(3, 0, 1): beta = alpha = 9/29, phase ratio 1.5.
    auto j = run("Jma", {3, 0, 1}, {10, 13});
    EXPECT_EQ(*j[0], 10.0);
    EXPECT_NEAR(*j[1], 10 + 1020000.0 / 707281, 1e-13);
    // Phase ratio is clamped to [0.5, 2.5]: phases -1000 and -100 agree, 1000 and 100 too.
    auto c = series(60);
    expect_identical(run("Jma", {9, -1000, 2}, c), run("Jma", {9, -100, 2}, c), 0, "phase clamp low");
    expect_identical(run("Jma", {9, 1000, 3}, c), run("Jma", {9, 100, 3}, c), 0, "phase clamp high");

    auto m = run("McGinleyDynamic", {2}, {2, 4, 6, 0, -1, 3.15625});
    EXPECT_FALSE(m[0]);
    EXPECT_EQ(*m[1], 3.0);
    EXPECT_EQ(*m[2], 3.0 + 3.0 / 19.2);
    EXPECT_EQ(*m[3], *m[2]);  // a close of 0 repeats the value
    EXPECT_EQ(*m[4], *m[2]);
    EXPECT_EQ(*m[5], 3.15625);

    auto h = run("HoltWinters", {0.5, 0.5}, {1, 2, 4});
    EXPECT_FALSE(h[0]);
    EXPECT_EQ(*h[1], 3.0);
    EXPECT_EQ(*h[2], 4.75);  // level 3.5, trend 1.25
}

TEST(CloseMa, AdaptiveAveragesAgainstReferences) {
    auto c = series(200);
    // Kama(10, 2, 30) from its definition.
    {
        const std::size_t p = 10;
        double fast = 2.0 / 3, slow = 2.0 / 31;
        std::optional<double> val;
        auto got = run("Kama", {10, 2, 30}, c);
        for (std::size_t i = p; i < c.size(); ++i) {
            double vol = 0;
            for (std::size_t t = i - p + 1; t <= i; ++t) vol += std::fabs(c[t] - c[t - 1]);
            double er = std::fabs(c[i] - c[i - p]) / vol;
            double sc = std::pow(slow + er * (fast - slow), 2);
            double prev = val ? *val : c[i - p];
            val = prev + sc * (c[i] - prev);
            EXPECT_NEAR(*got[i], *val, 1e-9) << i;
        }
    }
    // Vidya(12, 5): exponential step scaled by |CMO(5)| / 100.
    {
        auto got = run("Vidya", {12, 5}, c);
        std::optional<double> val;
        for (std::size_t i = 5; i < c.size(); ++i) {
            double up = 0, dn = 0;
            for (std::size_t t = i - 4; t <= i; ++t) {
                double d = c[t] - c[t - 1];
                (d > 0 ? up : dn) += std::fabs(d);
            }
            double k = std::fabs(100 * (up - dn) / (up + dn)) / 100 * (2.0 / 13);
            double prev = val ? *val : c[i];
            val = c[i] * k + (1 - k) * prev;
            EXPECT_NEAR(*got[i], *val, 1e-9) << i;
        }
    }
    // Alma(9, 0.85, 6): Gaussian weights centred at 0.85 * 8, width 9 / 6.
    {
        auto got = run("Alma", {9, 0.85, 6}, c);
        double m = 0.85 * 8, s = 9.0 / 6;
        for (std::size_t i = 8; i < c.size(); ++i) {
            double num = 0, den = 0;
            for (std::size_t t = 0; t < 9; ++t) {
                double w = std::exp(-std::pow(t - m, 2) / (2 * s * s));
                num += w * c[i - 8 + t];
                den += w;
            }
            EXPECT_NEAR(*got[i], num / den, 1e-9) << i;
        }
    }
}

TEST(CloseMa, MamaAndFama) {
    auto c = series(160);
    auto mama = make("Mama", {0.5, 0.05});
    auto fama = make("Fama", {0.5, 0.05});
    EXPECT_TRUE(mama->outputs().empty());
    for (std::size_t i = 0; i < c.size(); ++i) {
        auto m = mama->update(snap(c[i]));
        auto f = fama->update(snap(c[i]));
        ASSERT_EQ(m.has_value(), i >= 32);
        ASSERT_EQ(f.has_value(), i >= 32);
        if (!m) {
            EXPECT_TRUE(mama->outputs().empty());
            continue;
        }
        auto out = mama->outputs();
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0].name, "mama");
        EXPECT_EQ(out[1].name, "fama");
        EXPECT_TRUE(same_bits(out[0].value, *m));
        EXPECT_TRUE(same_bits(out[1].value, *f));
        EXPECT_TRUE(fama->outputs().empty());
    }
    // A bad close keeps the previous outputs.
    auto before = mama->outputs()[0].value;
    EXPECT_FALSE(mama->update(snap(std::nan(""))));
    EXPECT_EQ(mama->outputs()[0].value, before);
    // TA-Lib MAMA(0.5, 0.05) starts its averages differently; the difference fades
    // within a few hundred bars (the slower fama last).
    {
        auto cl = series(400);
        auto m = run("Mama", {0.5, 0.05}, cl), f = run("Fama", {0.5, 0.05}, cl);
        const std::size_t at[] = {250, 320, 399};
        const double want_m[] = {110.00618971281102, 119.96730044802027, 117.69004265051403};
        const double want_f[] = {111.93417834894719, 115.91695668880666, 119.29113362496751};
        const double tol_f[] = {1e-3, 1e-5, 1e-6};
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(*m[at[k]], want_m[k], 1e-7) << at[k];
            EXPECT_NEAR(*f[at[k]], want_f[k], tol_f[k]) << at[k];
        }
    }
    // Equal limits: alpha is always 0.3 once running.
    auto eq = run("Mama", {0.3, 0.3}, c);
    for (std::size_t i = 40; i < c.size(); ++i) EXPECT_NEAR(*eq[i], c[i] * 0.3 + *eq[i - 1] * 0.7, 1e-9);
}
