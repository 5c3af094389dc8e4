// The candlestick patterns: the boundary table (bullish, bearish, near-miss and
// exact-boundary formations of every kind) and each kind's warm-up and directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/pattern_support.hpp"

using namespace pattern_support;

TEST(CandlestickPatterns, EveryFormationGivesItsCodeOnTheLastCandle) {
    check_formations("indicators/patterns/data/candlestick.txt");
}

// Over choppy candles on a quarter-point grid (ties and equal prices happen), with an
// invalid candle every seventh bar: no value before the kind's first one, then a code on
// every valid candle, and only the codes the kind knows.
TEST(CandlestickPatterns, WarmUpFirstValueAndDirections) {
    std::vector<std::string> stream;
    std::uint64_t s = 0x9e3779b97f4a7c15ull;
    auto next = [&s](int m) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(m));
    };
    auto cell = [](double o, double h, double l, double c) {
        return std::to_string(o) + "," + std::to_string(h) + "," + std::to_string(l) + "," + std::to_string(c);
    };
    double base = 100.0;
    for (int i = 0; i < 3000; ++i) {
        if (i % 7 == 6) {
            stream.push_back(cell(base, base - 1, base, base));  // high below low
            continue;
        }
        base += 0.25 * (next(9) - 4);
        const double o = base + 0.25 * (next(9) - 4), c = base + 0.25 * (next(9) - 4);
        const double h = std::max(o, c) + 0.25 * next(4), l = std::min(o, c) - 0.25 * next(4);
        stream.push_back(cell(o, h, l, c));
    }
    for (const auto& row : table_file::read("indicators/patterns/data/candlestick_kinds.txt")) {
        auto ind = make(row[0]);
        if (!ind) continue;
        EXPECT_EQ(ind->warmup_period(), row.num(1)) << row[0];
        const std::vector<double> codes = numbers(row[3]);
        std::size_t valid = 0;
        for (const auto& text : stream) {
            const auto candle = bar(text);
            auto v = ind->update(candle);
            if (!candle.candle.is_valid() || ++valid < row.num(2)) {
                EXPECT_FALSE(v.has_value()) << row[0] << " valid candle " << valid;
                continue;
            }
            ASSERT_TRUE(v.has_value()) << row[0] << " valid candle " << valid;
            EXPECT_NE(std::find(codes.begin(), codes.end(), *v), codes.end()) << row[0] << " gives " << *v;
        }
    }
}
