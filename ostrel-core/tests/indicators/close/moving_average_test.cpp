// Window cores and the single-stage moving averages, against values worked out by
// hand or by a direct computation from the definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/core/bollinger.hpp"
#include "indicators/core/cmo.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/mama.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/sorted_window.hpp"
#include "indicators/core/wma.hpp"
#include "indicators/core/zlema.hpp"

using namespace ostrel;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

FeedSnapshot bar(double close) {
    FeedSnapshot s;
    s.candle = Candle{0, close, close, close, close, 1.0};
    return s;
}

std::vector<std::optional<double>> run(std::string_view kind, std::vector<double> params,
                                       const std::vector<double>& closes) {
    auto ind = build_indicator(kind, params);
    EXPECT_TRUE(ind) << (ind ? "" : ind.error().display());
    std::vector<std::optional<double>> out;
    for (double c : closes) out.push_back((*ind)->update(bar(c)));
    return out;
}

// Same outputs bit for bit (NaN-free sequences).
void expect_same_bits(const std::vector<std::optional<double>>& a, const std::vector<std::optional<double>>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].has_value(), b[i].has_value()) << i;
        if (a[i]) {
            EXPECT_EQ(std::signbit(*a[i]), std::signbit(*b[i])) << i;
            EXPECT_EQ(*a[i], *b[i]) << i;
        }
    }
}

}  // namespace

TEST(CandleChecks, OrderAndTexts) {
    auto text = [](Candle c) {
        auto e = c.validate();
        return e ? e->display() : std::string("ok");
    };
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, 10}), "ok");
    EXPECT_EQ(text({0, kNaN, 2, 0.5, 1.5, 10}), "invalid candle: open, high, low, close must all be finite");
    EXPECT_EQ(text({0, 1, 2, 0.5, kInf, 10}), "invalid candle: open, high, low, close must all be finite");
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, kInf}), "invalid candle: volume must be finite");
    // high below low and a negative volume: the volume check comes first
    EXPECT_EQ(text({0, 1, 0.5, 2, 1, -1}), "invalid candle: volume must be non-negative");
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, -0.0}), "ok");
    EXPECT_EQ(text({0, 1, 0.5, 2, 1, 0}), "invalid candle: high must be >= low");
    EXPECT_EQ(text({0, 3, 2, 0.5, 1.5, 0}), "invalid candle: high must be >= open and >= close");
    EXPECT_EQ(text({0, 1, 2, 0.5, 0.4, 0}), "invalid candle: low must be <= open and <= close");
}

TEST(IndicatorErrorText, AllElevenVariants) {
    using K = IndicatorError::Kind;
    EXPECT_EQ((IndicatorError{K::ZeroPeriod, ""}).display(), "period must be greater than zero");
    EXPECT_EQ(IndicatorError::too_long().display(),
              "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ((IndicatorError{K::NonFiniteInput, ""}).display(), "input value must be finite (got NaN or infinity)");
    EXPECT_EQ((IndicatorError{K::InvalidCandle, "x"}).display(), "invalid candle: x");
    EXPECT_EQ((IndicatorError{K::InvalidTick, "x"}).display(), "invalid tick: x");
    EXPECT_EQ((IndicatorError{K::NonPositiveMultiplier, ""}).display(), "multiplier must be greater than zero");
    EXPECT_EQ((IndicatorError{K::InvalidOrderBook, "x"}).display(), "invalid order book: x");
    EXPECT_EQ((IndicatorError{K::InvalidTrade, "x"}).display(), "invalid trade: x");
    EXPECT_EQ((IndicatorError{K::InvalidDerivativesTick, "x"}).display(), "invalid derivatives tick: x");
    EXPECT_EQ((IndicatorError{K::InvalidCrossSection, "x"}).display(), "invalid cross-section: x");
    EXPECT_EQ((IndicatorError{K::InvalidParameter, "x"}).display(), "invalid parameter: x");
}

TEST(Cores, SmaRecomputesAtSixteenPeriods) {
    // 1e16 swallows the 0.3s while it is in the window; once it leaves, the running
    // sum has drifted to 0.3 - 0.3 = 0, and only the exact recompute at the 32nd value
    // (16 x period) restores the mean of 0.3 and 0.3.
    auto s = *core::Sma::make(2);
    std::vector<double> xs{0.3, 1e16};
    xs.resize(40, 0.3);
    std::vector<std::optional<double>> out;
    for (double x : xs) out.push_back(s.step(x));
    EXPECT_EQ(*out[30], 0.15);
    EXPECT_EQ(*out[31], 0.3);
    EXPECT_EQ(*out[39], 0.3);
    // A NaN does not advance the recompute counter.
    auto t = *core::Sma::make(2);
    for (int i = 0; i < 31; ++i) {
        t.step(xs[i]);
        if (i == 10) {
            EXPECT_FALSE(t.step(kNaN));
        }
    }
    EXPECT_EQ(*t.step(0.3), 0.3);
}

TEST(Cores, WmaRecomputesAfterSixteenWrapsFromTheFill) {
    auto w = *core::Wma::make(2);
    std::vector<double> xs{0.3, 1e16};
    xs.resize(40, 0.3);
    std::vector<std::optional<double>> out;
    for (double x : xs) out.push_back(w.step(x));
    EXPECT_EQ(*out[32], 3.0999999999999983);  // drifted, computed directly from the definition
    EXPECT_EQ(*out[33], 0.3);                   // period + 16 x period = 34th value
    auto w3 = *core::Wma::make(3);
    w3.step(1);
    w3.step(2);
    EXPECT_EQ(*w3.step(3), 14.0 / 6.0);
}

TEST(Cores, WindowExamples) {
    core::RegressionWindow lr(3);
    EXPECT_FALSE(lr.step(1));
    EXPECT_FALSE(lr.step(2));
    EXPECT_EQ(*lr.step(3), 3.0);

    std::vector<double> sorted{1, 2, 4, 8}, out;
    core::sorted_abs_deviations(sorted, 3, out);
    EXPECT_EQ(out, (std::vector<double>{1, 1, 2, 5}));

    core::BollingerWindow bw(4, 2.0);
    std::optional<core::BollingerOut> b;
    for (int i = 0; i < 6; ++i) b = bw.step(2.0);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->stddev, 0.0);
    EXPECT_EQ(b->upper, 2.0);
    EXPECT_EQ(b->middle, 2.0);
    EXPECT_EQ(b->lower, 2.0);
    // Population deviation of 1, 2, 3, 4: sqrt(1.25).
    core::BollingerWindow bv(4, 1.0);
    for (double x : {1.0, 2.0, 3.0}) EXPECT_FALSE(bv.step(x));
    auto v = bv.step(4.0);
    EXPECT_EQ(v->middle, 2.5);
    EXPECT_EQ(v->stddev, std::sqrt(1.25));

    core::Cmo cmo(3);
    std::optional<double> c;
    for (int i = 0; i < 6; ++i) c = cmo.step(5.0);
    EXPECT_EQ(*c, 0.0);
    core::Cmo cmo2(2);
    cmo2.step(1);
    EXPECT_FALSE(cmo2.step(3));
    EXPECT_EQ(*cmo2.step(2), ((2.0 - 1.0) * 100.0) / 3.0);  // up 2, down 1

    auto z1 = *core::Zlema::make(1);
    EXPECT_EQ(*z1.step(7.5), 7.5);
    EXPECT_EQ(*z1.step(-2.25), -2.25);
    auto z4 = *core::Zlema::make(4);  // lag 1: first value at the fifth input
    for (double x : {1.0, 2.0, 3.0, 4.0}) EXPECT_FALSE(z4.step(x));
    // de-lagged values 3, 4, 5, 6 -> seed mean 4.5
    EXPECT_EQ(*z4.step(5.0), 4.5);

    core::Mama m(0.5, 0.05);
    for (int i = 0; i < 32; ++i) {
        EXPECT_FALSE(m.step(100.0 + std::sin(i * 0.3)));
        EXPECT_FALSE(m.step(kNaN));
    }
    EXPECT_TRUE(m.step(100.0));
}

TEST(Cores, SortedWindowTotalOrder) {
    core::SortedWindow w(3);
    w.push(0.0);
    w.push(-0.0);
    w.push(1.0);
    auto s = w.sorted();
    EXPECT_TRUE(std::signbit(s[0]));
    EXPECT_FALSE(std::signbit(s[1]));
    w.push(-5.0);  // drops the oldest, +0
    s = w.sorted();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0], -5.0);
    EXPECT_TRUE(std::signbit(s[1]));
    EXPECT_EQ(s[2], 1.0);
}

TEST(MovingAverages, PeriodOneIsIdentity) {
    std::vector<double> xs{3.5, -1.25, 7.0, 0.1};
    for (auto kind : {"Sma", "Ema", "Smma", "Wma", "Trima", "SineWeightedMa", "MedianMa"}) {
        auto out = run(kind, {1}, xs);
        for (size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(*out[i], xs[i]) << kind;
    }
    auto g = run("GeometricMa", {1}, {2.0, 5.0});
    EXPECT_NEAR(*g[0], 2.0, 1e-15);
    EXPECT_NEAR(*g[1], 5.0, 1e-15);
}

TEST(MovingAverages, HandWorkedValues) {
    auto e = run("Ema", {3}, {1, 2, 3, 4});
    EXPECT_FALSE(e[0]);
    EXPECT_FALSE(e[1]);
    EXPECT_EQ(*e[2], 2.0);
    EXPECT_EQ(*e[3], 3.0);

    auto s = run("Smma", {2}, {2, 4, 6});
    EXPECT_FALSE(s[0]);
    EXPECT_EQ(*s[1], 3.0);
    EXPECT_EQ(*s[2], 4.5);

    auto t = run("Trima", {4}, {1, 2, 3, 4, 5});
    EXPECT_FALSE(t[2]);
    // Sma(2): 1.5, 2.5, 3.5, 4.5 -> Sma(3): 2.5, 3.5
    EXPECT_EQ(*t[3], 2.5);
    EXPECT_EQ(*t[4], 3.5);

    auto m4 = run("MedianMa", {4}, {1, 9, 3, 7});
    EXPECT_EQ(*m4[3], 5.0);
    auto m3 = run("MedianMa", {3}, {5, 1, 3});
    EXPECT_EQ(*m3[2], 3.0);
    auto big = run("MedianMa", {2}, {1.7e308, 1.7e308});
    EXPECT_EQ(*big[1], 1.7e308);  // halves first instead of overflowing

    auto g = run("GeometricMa", {2}, {2, 0, -3, 8});
    EXPECT_FALSE(g[1]);
    EXPECT_FALSE(g[2]);
    EXPECT_NEAR(*g[3], 4.0, 1e-15);  // the 0 and -3 were ignored

    // Sine weights for period 2: sin(pi/3) both, so the plain mean.
    auto sw = run("SineWeightedMa", {2}, {1, 3});
    EXPECT_DOUBLE_EQ(*sw[1], 2.0);
    // Period 3: weights sin(pi/4), 1, sin(3 pi/4).
    auto sw3 = run("SineWeightedMa", {3}, {1, 2, 4});
    const double pi = 3.141592653589793;
    double w0 = std::sin((1.0 * pi) / 4.0), w1 = std::sin((2.0 * pi) / 4.0), w2 = std::sin((3.0 * pi) / 4.0);
    EXPECT_EQ(*sw3[2], ((-0.0 + 1 * w0) + 2 * w1 + 4 * w2) / ((-0.0 + w0) + w1 + w2));
}

TEST(MovingAverages, EmaStepIsFused) {
    // Period 4 (alpha 0.4): the fifth value differs between a fused step (3.44)
    // and a separately rounded one (3.4400000000000004); worked out in exact
    // rational arithmetic.
    auto e = run("Ema", {4}, {1.1, 2.3, 3.7, 0.1, 5.9, 1.3, 2.2, 7.7, 0.3, 4.4, 9.1});
    EXPECT_EQ(*e[3], 1.7999999999999998);
    EXPECT_EQ(*e[4], 3.44);
    EXPECT_EQ(*e[10], 5.71945984);
}

TEST(MovingAverages, BadClosesLeaveStateUntouched) {
    std::vector<double> clean, dirty;
    for (int i = 0; i < 200; ++i) {
        double x = 100 + 10 * std::sin(i * 0.7) + (i % 7 == 0 ? 1e15 : 0.0);
        clean.push_back(x);
        dirty.push_back(x);
        if (i % 5 == 0) dirty.push_back(kNaN);
        if (i % 11 == 0) dirty.push_back(kInf);
    }
    for (auto kind : {"Sma", "Ema", "Smma", "Wma", "Trima", "SineWeightedMa", "GeometricMa", "MedianMa"}) {
        auto a = run(kind, {3}, clean);
        auto b_all = run(kind, {3}, dirty);
        std::vector<std::optional<double>> b;
        for (size_t i = 0; i < dirty.size(); ++i) {
            if (std::isfinite(dirty[i])) {
                b.push_back(b_all[i]);
            } else {
                EXPECT_FALSE(b_all[i]) << kind;
            }
        }
        expect_same_bits(a, b);
    }
}

TEST(MovingAverages, WarmupAndNoOutputs) {
    for (auto kind : {"Sma", "Ema", "Smma", "Wma", "Trima", "SineWeightedMa", "GeometricMa", "MedianMa"}) {
        auto ind = build_indicator(kind, std::vector<double>{7});
        ASSERT_TRUE(ind);
        EXPECT_EQ((*ind)->warmup_period(), 7u);
        for (int i = 0; i < 7; ++i) {
            auto v = (*ind)->update(bar(1.0 + i));
            EXPECT_EQ(v.has_value(), i == 6) << kind;
        }
        EXPECT_TRUE((*ind)->outputs().empty());
        std::string p = std::string("invalid parameters for indicator ") + kind + ": ";
        auto zero = build_indicator(kind, std::vector<double>{1e-20});
        EXPECT_EQ(zero.error().display(), p + "period must be greater than zero");
        auto over = build_indicator(kind, std::vector<double>{16777217});
        EXPECT_EQ(over.error().display(),
                  p + "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
        EXPECT_EQ(build_indicator(kind, std::vector<double>{}).error().display(), p + "missing parameter #0");
    }
    EXPECT_TRUE(build_indicator("Ema", std::vector<double>{16777216}));
}
