// Helpers for the close-series kind tests: build by name, feed closes, compare.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"

namespace closetest {

using ostrel::FeedSnapshot;
using ostrel::Indicator;
using Values = std::vector<std::optional<double>>;

inline const std::string& kMaxText = build_support::kMax;

using build_support::build_error;
using build_support::make;
using build_support::params_error;

inline FeedSnapshot snap(double close) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = close;
    return s;
}

inline Values feed(Indicator& ind, const std::vector<double>& closes) {
    Values out;
    for (double c : closes) out.push_back(ind.update(snap(c)));
    return out;
}

inline Values run(std::string_view kind, std::vector<double> params, const std::vector<double>& closes) {
    auto ind = make(kind, std::move(params));
    if (!ind) return {};
    return feed(*ind, closes);
}

// A deterministic wavy series with a drift and a jagged component.
inline std::vector<double> series(std::size_t n) {
    std::vector<double> c;
    for (std::size_t i = 0; i < n; ++i)
        c.push_back(100.0 + 10.0 * std::sin(0.3 * static_cast<double>(i)) + 0.05 * static_cast<double>(i) +
                    static_cast<double>((i * 37) % 11) * 0.25);
    return c;
}

inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Feeding NaN and infinities between ordinary closes changes nothing: the values on
// the ordinary closes are bit for bit those of a clean run.
inline void expect_skips_non_finite(std::string_view kind, std::vector<double> params, std::size_t n = 80) {
    auto closes = series(n);
    auto clean = run(kind, params, closes);
    auto ind = make(kind, params);
    ASSERT_TRUE(ind);
    for (std::size_t i = 0; i < closes.size(); ++i) {
        if (i % 7 == 3) {
            EXPECT_FALSE(ind->update(snap(std::nan(""))).has_value()) << kind;
            EXPECT_FALSE(ind->update(snap(INFINITY)).has_value()) << kind;
            EXPECT_FALSE(ind->update(snap(-INFINITY)).has_value()) << kind;
        }
        auto v = ind->update(snap(closes[i]));
        ASSERT_EQ(v.has_value(), clean[i].has_value()) << kind << " at " << i;
        if (v) {
            EXPECT_TRUE(same_bits(*v, *clean[i])) << kind << " at " << i << ": " << *v << " vs " << *clean[i];
        }
    }
}

// The first value comes exactly at update `warmup` (1-based) and then on every update.
inline void expect_warmup(std::string_view kind, std::vector<double> params, std::size_t n = 120) {
    auto ind = make(kind, params);
    ASSERT_TRUE(ind);
    auto w = ind->warmup_period();
    auto v = feed(*ind, series(n));
    for (std::size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].has_value(), i + 1 >= w) << kind << " at " << i;
    }
    EXPECT_TRUE(ind->outputs().empty() || kind == "Mama") << kind;
}

}  // namespace closetest
