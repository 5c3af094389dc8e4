// Range-volatility and band kinds over a varied series: a zero low carried through the
// window and then forgotten, and an overflowing bar refused whole. The hand-worked
// cases are rows of data/band_cases.txt.
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
        if (a) EXPECT_EQ(clean->outputs()[1].value, dirty->outputs()[1].value);
    }
}
