// Helpers for the candlestick-pattern tests: candles from four prices, one bar of
// input, build by name, and the code a kind gives on a formation of its warm-up length.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"

namespace pattern_support {

using ostrel::Candle;
using ostrel::FeedSnapshot;
using ostrel::Indicator;

// A candle of volume 1.
inline Candle K(double open, double high, double low, double close) {
    Candle c;
    c.open = open;
    c.high = high;
    c.low = low;
    c.close = close;
    c.volume = 1.0;
    return c;
}

inline FeedSnapshot bar(const Candle& c) {
    FeedSnapshot f;
    f.candle = c;
    return f;
}

inline std::unique_ptr<Indicator> make(std::string_view kind, std::vector<double> params = {}) {
    auto r = ostrel::build_indicator(kind, params);
    if (!r) {
        ADD_FAILURE() << kind << ": " << r.error().display();
        return nullptr;
    }
    return std::move(*r);
}

// Feeds a formation of exactly warm-up length: every candle but the last must give no
// value, the last must give a code (NaN stands for a missing one).
inline double code(std::string_view kind, const std::vector<Candle>& candles) {
    auto ind = make(kind);
    if (!ind) return std::nan("");
    EXPECT_EQ(ind->warmup_period(), candles.size()) << kind;
    for (std::size_t i = 0; i + 1 < candles.size(); ++i)
        EXPECT_FALSE(ind->update(bar(candles[i])).has_value()) << kind << " candle " << i + 1;
    auto v = ind->update(bar(candles.back()));
    EXPECT_TRUE(ind->outputs().empty()) << kind;
    return v ? *v : std::nan("");
}

}  // namespace pattern_support
