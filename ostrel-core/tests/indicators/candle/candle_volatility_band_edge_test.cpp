// Range-volatility and band kinds: the worked edge cases, values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<Indicator> make(std::string_view kind, std::vector<double> params) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r) << kind;
    return r ? std::move(*r) : nullptr;
}

Candle candle(double o, double h, double l, double c, double v = 1.0, std::int64_t t = 0) {
    return Candle{t, o, h, l, c, v};
}

std::optional<double> feed(Indicator& ind, const Candle& c) {
    FeedSnapshot f;
    f.candle = c;
    return ind.update(f);
}

double output(const Indicator& ind, std::string_view name) {
    for (const NamedOutput& o : ind.outputs())
        if (o.name == name) return o.value;
    ADD_FAILURE() << "no output " << name;
    return kNaN;
}

// A short varied series of valid candles.
std::vector<Candle> series(std::size_t n) {
    std::vector<Candle> out;
    double c = 50.0;
    for (std::size_t i = 0; i < n; ++i) {
        double o = c;
        double step = static_cast<double>((i * 7) % 11) - 5.0;
        c = o + step * 0.25;
        double h = std::max(o, c) + 0.5 + static_cast<double>(i % 3) * 0.25;
        double l = std::min(o, c) - 0.25 - static_cast<double>(i % 4) * 0.125;
        out.push_back(candle(o, h, l, c, 10.0 + static_cast<double>(i), static_cast<std::int64_t>(i) * 3600000));
    }
    return out;
}

}  // namespace

// ---- range volatility ---------------------------------------------------------

TEST(CandleRangeVolatility, FlatCandleGivesZero) {
    for (const char* k : {"GarmanKlassVolatility", "ParkinsonVolatility", "RogersSatchellVolatility"}) {
        auto ind = make(k, {1, 252});
        auto v = feed(*ind, candle(10, 10, 10, 10));
        ASSERT_TRUE(v) << k;
        EXPECT_EQ(*v, 0.0) << k;
    }
    auto yz = make("YangZhangVolatility", {2, 252});
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(feed(*yz, candle(10, 10, 10, 10)));
    auto v = feed(*yz, candle(10, 10, 10, 10));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.0);
}

TEST(CandleRangeVolatility, ParkinsonSingleBar) {
    auto ind = make("ParkinsonVolatility", {1, 1});
    auto v = feed(*ind, candle(1.5, 2, 1, 1.5));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0x1.4d05979946862p+5);  // 100 * sqrt(0.3606737602222412 * ln(2)^2)
}

TEST(CandleRangeVolatility, ZeroPriceIsCarriedThenForgotten) {
    // A low of 0 passes the candle checks and makes a logarithm infinite. The value
    // carries it while the bar is in the window and is finite again afterwards.
    auto bars = series(40);
    bars[10].low = 0.0;
    for (const char* k : {"GarmanKlassVolatility", "ParkinsonVolatility", "RogersSatchellVolatility", "YangZhangVolatility"}) {
        auto ind = make(k, {4, 252});
        std::vector<std::optional<double>> vals;
        for (const Candle& c : bars) vals.push_back(feed(*ind, c));
        ASSERT_TRUE(vals[10]) << k;
        EXPECT_FALSE(std::isfinite(*vals[10])) << k;
        for (std::size_t i = 20; i < vals.size(); ++i) {
            ASSERT_TRUE(vals[i]) << k;
            EXPECT_TRUE(std::isfinite(*vals[i])) << k << " bar " << i;
        }
        // Once forgotten, the values are those of a run that restarted after the bar.
        auto fresh = make(k, {4, 252});
        std::optional<double> last;
        for (std::size_t i = 11; i < bars.size(); ++i) last = feed(*fresh, bars[i]);
        ASSERT_TRUE(last);
        EXPECT_NEAR(*vals.back(), *last, 1e-9 * *last) << k;
    }
}

// ---- daily range, Chaikin volatility, mass index, volatility ratio --------------

TEST(CandleDailyRange, DaysCompleteOnlyWhenTheNextBegins) {
    constexpr std::int64_t day = 86400000;
    auto one_day = make("AverageDailyRange", {2, 0});
    for (int h = 0; h < 24; h += 6) EXPECT_FALSE(feed(*one_day, candle(5, 6, 4, 5, 1, h * 3600000LL)));
    // Four completed days with ranges 1, 2, 3, 4, two candles each; period 2.
    auto ind = make("AverageDailyRange", {2, 0});
    const double expected_when_next_begins[] = {1.0, 1.5, 2.5, 3.5};
    for (int d = 0; d < 4; ++d) {
        const double r = d + 1.0;
        auto first = feed(*ind, candle(10, 10, 10, 10, 1, d * day));
        if (d == 0) EXPECT_FALSE(first);
        else EXPECT_EQ(*first, expected_when_next_begins[d - 1]);
        auto second = feed(*ind, candle(10, 10 + r, 10, 10, 1, d * day + 3600000));
        if (d == 0) EXPECT_FALSE(second);
        else EXPECT_EQ(*second, expected_when_next_begins[d - 1]);  // the day in progress never counts
    }
    auto v = feed(*ind, candle(10, 10, 10, 10, 1, 4 * day));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 3.5);
}

TEST(CandleDailyRange, OffsetAndNegativeTimes) {
    constexpr std::int64_t min = 60000;
    // With +60 minutes, 23:30 UTC is 00:30 of the next local day.
    auto shifted = make("AverageDailyRange", {5, 60});
    auto plain = make("AverageDailyRange", {5, 0});
    for (auto* ind : {shifted.get(), plain.get()}) feed(*ind, candle(5, 6, 4, 5, 1, 22 * 60 * min));
    EXPECT_TRUE(feed(*shifted, candle(5, 6, 4, 5, 1, (23 * 60 + 30) * min)).has_value());
    EXPECT_FALSE(feed(*plain, candle(5, 6, 4, 5, 1, (23 * 60 + 30) * min)).has_value());
    // One millisecond before the epoch belongs to the day before it.
    auto neg = make("AverageDailyRange", {5, 0});
    feed(*neg, candle(5, 7, 4, 5, 1, -1));
    auto v = feed(*neg, candle(5, 6, 4, 5, 1, 0));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 3.0);
    // A candle of an earlier day also closes the current one.
    auto back = make("AverageDailyRange", {5, 0});
    feed(*back, candle(5, 9, 4, 5, 1, 10 * 86400000LL));
    v = feed(*back, candle(5, 6, 4, 5, 1, 3 * 86400000LL));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 5.0);
}

TEST(CandleChaikinVolatility, ZeroAverageBackGivesZero) {
    auto ind = make("ChaikinVolatility", {2, 2});
    for (int i = 0; i < 4; ++i) feed(*ind, candle(10, 10, 10, 10));
    auto v = feed(*ind, candle(10, 12, 9, 11));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.0);
}

TEST(CandleMassIndex, FlatMarketSumsOnes) {
    auto ind = make("MassIndex", {3, 5});
    std::optional<double> v;
    for (int i = 0; i < 9; ++i) {
        v = feed(*ind, candle(10, 10, 10, 10));
        if (i < 8) EXPECT_FALSE(v) << i;
    }
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 5.0);
}

TEST(CandleVolatilityRatio, PeriodOneAndZeroAverage) {
    auto ind = make("VolatilityRatio", {1});
    EXPECT_FALSE(feed(*ind, candle(10, 11, 9, 10)));
    EXPECT_FALSE(feed(*ind, candle(10, 12, 9, 11)));  // seeds the average with TR 3
    auto v = feed(*ind, candle(11, 12, 10.5, 11));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 1.5 / 3.0);  // against the average before this bar
    auto flat = make("VolatilityRatio", {1});
    for (int i = 0; i < 2; ++i) feed(*flat, candle(10, 10, 10, 10));
    v = feed(*flat, candle(10, 12, 9, 10));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.0);  // the previous average was 0
}

// ---- Bollinger-type bands -----------------------------------------------------

TEST(CandleBollingerType, WorkedValues) {
    auto bb = make("BollingerBands", {3, 2.5});
    feed(*bb, candle(1, 1, 1, 1));
    feed(*bb, candle(2, 2, 2, 2));
    auto v = feed(*bb, candle(3, 3, 3, 3));
    ASSERT_TRUE(v);
    EXPECT_EQ(output(*bb, "middle"), 2.0);
    EXPECT_EQ(output(*bb, "stddev"), std::sqrt(2.0 / 3.0));
    EXPECT_EQ(*v, 2.0 + 2.5 * std::sqrt(2.0 / 3.0));
    ASSERT_EQ(bb->outputs().size(), 4u);
    EXPECT_EQ(bb->outputs()[3].name, "stddev");

    auto db = make("DoubleBollinger", {3, 1, 2});
    for (double c : {1.0, 2.0, 3.0}) feed(*db, candle(c, c, c, c));
    const char* names[] = {"upper_outer", "upper_inner", "middle", "lower_inner", "lower_outer"};
    ASSERT_EQ(db->outputs().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(db->outputs()[i].name, names[i]);
    EXPECT_EQ(output(*db, "upper_inner"), 2.0 + std::sqrt(2.0 / 3.0));
    EXPECT_EQ(output(*db, "lower_outer"), 2.0 - 2.0 * std::sqrt(2.0 / 3.0));
}

TEST(CandleBollingerType, BomarEdgeWindows) {
    auto flat = make("BomarBands", {4, 0.9});
    std::optional<double> v;
    for (int i = 0; i < 4; ++i) v = feed(*flat, candle(2, 2, 2, 2));
    ASSERT_TRUE(v);
    EXPECT_EQ(output(*flat, "upper"), 2.0);
    EXPECT_EQ(output(*flat, "lower"), 2.0);
    auto zero_mean = make("BomarBands", {4, 0.5});
    for (double c : {-3.0, 1.0, 3.0, -1.0}) v = feed(*zero_mean, candle(c, 3, -3, c));
    ASSERT_TRUE(v);
    EXPECT_EQ(output(*zero_mean, "upper"), 0.0);
    EXPECT_EQ(output(*zero_mean, "middle"), 0.0);
    EXPECT_EQ(output(*zero_mean, "lower"), 0.0);
    // Coverage 1: the half-width is the largest distance from the mean, here 6 - 3.
    auto full = make("BomarBands", {3, 1});
    for (double c : {1.0, 2.0, 6.0}) v = feed(*full, candle(c, c, c, c));
    EXPECT_EQ(output(*full, "upper"), 6.0);
    EXPECT_EQ(output(*full, "lower"), 0.0);
    // Coverage 0.5 over deviations 1/3, 2/3, 1 (mean 3): the middle one, so half-width 2.
    auto half = make("BomarBands", {3, 0.5});
    for (double c : {1.0, 2.0, 6.0}) v = feed(*half, candle(c, c, c, c));
    EXPECT_EQ(output(*half, "upper"), 3.0 + 3.0 * (2.0 / 3.0));
}

TEST(CandleBollingerType, HurstChannelPeriodOne) {
    auto ind = make("HurstChannel", {1, 2});
    auto v = feed(*ind, candle(10, 13, 9, 11));
    ASSERT_TRUE(v);
    EXPECT_EQ(output(*ind, "middle"), 11.0);
    EXPECT_EQ(*v, 19.0);
    EXPECT_EQ(output(*ind, "lower"), 3.0);
}

// ---- range and channel bands --------------------------------------------------

TEST(CandleChannelBands, Donchian) {
    auto ind = make("Donchian", {2});
    EXPECT_FALSE(feed(*ind, candle(9, 10, 8, 9)));
    auto v = feed(*ind, candle(10, 12, 9, 11));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 12.0);
    EXPECT_EQ(output(*ind, "middle"), 10.0);
    EXPECT_EQ(output(*ind, "lower"), 8.0);
    const double big = 1.7e308;
    auto wide = make("Donchian", {1});
    feed(*wide, candle(big, big, big, big));
    EXPECT_EQ(output(*wide, "middle"), big);  // halved first, no overflow
}

TEST(CandleChannelBands, FractalChaosBands) {
    auto ind = make("FractalChaosBands", {1});
    EXPECT_FALSE(feed(*ind, candle(1, 1, 1, 1)));
    EXPECT_FALSE(feed(*ind, candle(1, 3, 0.5, 1)));
    auto v = feed(*ind, candle(1, 2, 0.8, 1));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 3.0);
    EXPECT_EQ(output(*ind, "lower"), 0.5);
    // Later centres are no fractals (a tie is none): the last levels stay.
    v = feed(*ind, candle(1, 2, 0.8, 1));
    v = feed(*ind, candle(1, 2, 0.8, 1));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 3.0);
    EXPECT_EQ(output(*ind, "lower"), 0.5);
    // Without a low fractal there is no value at all.
    auto one_sided = make("FractalChaosBands", {1});
    for (double h : {1.0, 3.0, 2.0, 2.5}) EXPECT_FALSE(feed(*one_sided, candle(1, h, 0.5, 1)));
}

TEST(CandleChannelBands, AccelerationBands) {
    auto ind = make("AccelerationBands", {1, 4});
    auto v = feed(*ind, candle(0.5, 1, -1, 0.5));  // high + low == 0: r = 0
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 1.0);
    EXPECT_EQ(output(*ind, "middle"), 0.5);
    EXPECT_EQ(output(*ind, "lower"), -1.0);
    // r = 2/6: upper 4 * (1 + 4/3), lower 2 * (1 - 4/3), each bracket rounded once.
    v = feed(*ind, candle(3, 4, 2, 3));
    EXPECT_EQ(*v, 4.0 * std::fma(4.0, 2.0 / 6.0, 1.0));
    EXPECT_EQ(output(*ind, "lower"), 2.0 * std::fma(-4.0, 2.0 / 6.0, 1.0));
}

TEST(CandleChannelBands, AccelerationBandsRefuseOverflowingBar) {
    // The widened high overflows; the bar is refused whole so the three averages stay
    // over the same bars.
    const auto bars = series(12);
    auto clean = make("AccelerationBands", {3, 4});
    auto dirty = make("AccelerationBands", {3, 4});
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (i == 5) EXPECT_FALSE(feed(*dirty, candle(1e300, 1.7e308, 1e300, 1e300)));
        auto a = feed(*clean, bars[i]);
        auto b = feed(*dirty, bars[i]);
        ASSERT_EQ(a.has_value(), b.has_value());
        if (a) EXPECT_EQ(*a, *b);
        if (a) EXPECT_EQ(output(*clean, "middle"), output(*dirty, "middle"));
    }
}

TEST(CandleChannelBands, AtrBandsPeriodOne) {
    auto ind = make("AtrBands", {1, 2});
    auto v = feed(*ind, candle(10, 11, 8, 10));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 16.0);  // first true range is high - low = 3
    v = feed(*ind, candle(14, 15, 14, 14));
    EXPECT_EQ(*v, 14.0 + 2.0 * 5.0);  // against the previous close 10
}

// ---- regression bands and squeeze ---------------------------------------------

TEST(CandleRegressionBands, ExactLines) {
    auto lrc = make("LinRegChannel", {3, 2});
    for (double c : {1.0, 2.0}) EXPECT_FALSE(feed(*lrc, candle(c, c, c, c)));
    auto v = feed(*lrc, candle(3, 3, 3, 3));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 3.0);
    EXPECT_EQ(output(*lrc, "lower"), 3.0);
    auto two = make("LinRegChannel", {2, 2});
    feed(*two, candle(1, 1, 1, 1));
    v = feed(*two, candle(3, 3, 3, 3));
    EXPECT_EQ(*v, 3.0);
    // Closes 1, 3, 3: line 4/3 + x, residuals -1/3, 2/3, -1/3 (ssr 2/3); the standard
    // error divides by 1, the channel by 3.
    auto seb = make("StandardErrorBands", {3, 1});
    auto ch = make("LinRegChannel", {3, 1});
    for (double c : {1.0, 3.0, 3.0}) {
        feed(*seb, candle(c, c, c, c));
        feed(*ch, candle(c, c, c, c));
    }
    const double middle = output(*seb, "middle");
    EXPECT_NEAR(middle, 10.0 / 3.0, 1e-14);
    EXPECT_NEAR(output(*seb, "upper") - middle, std::sqrt(2.0 / 3.0), 1e-14);
    EXPECT_NEAR(output(*ch, "upper") - middle, std::sqrt(2.0 / 9.0), 1e-14);
}

TEST(CandleRegressionBands, Projection) {
    auto pb = make("ProjectionBands", {2});
    EXPECT_FALSE(feed(*pb, candle(9, 10, 8, 9)));
    auto v = feed(*pb, candle(10, 12, 9, 10));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 12.0);
    EXPECT_EQ(output(*pb, "middle"), 10.5);
    EXPECT_EQ(output(*pb, "lower"), 9.0);
    // Falling highs 20, 10, 12: slope -4, projections 12, 6, 12; a high of 12 in the
    // middle projected down is 8 and the oldest 20 projects to 12, not above it.
    auto falling = make("ProjectionBands", {3});
    feed(*falling, candle(15, 20, 5, 15));
    feed(*falling, candle(9, 10, 5, 9));
    v = feed(*falling, candle(11, 12, 5, 11));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 12.0);
}

TEST(CandleSqueeze, ConstantCandlesAndSmallestPeriod) {
    auto ind = make("TtmSqueeze", {2, 2, 1.5});
    EXPECT_FALSE(feed(*ind, candle(7, 7, 7, 7)));
    auto v = feed(*ind, candle(7, 7, 7, 7));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 1.0);
    ASSERT_EQ(ind->outputs().size(), 2u);
    EXPECT_EQ(ind->outputs()[0].name, "squeeze");
    EXPECT_EQ(output(*ind, "momentum"), 0.0);
    // A jump widens the Bollinger bands beyond a channel of zero true range: no squeeze.
    v = feed(*ind, candle(7, 9, 7, 9));
    ASSERT_TRUE(v);
    EXPECT_GT(output(*ind, "momentum"), 0.0);
}
