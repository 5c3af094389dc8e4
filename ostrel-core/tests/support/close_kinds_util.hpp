// Helpers for the close-series kind tests: building by name, feeding closes.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"

namespace close_kinds {

using Series = std::vector<std::optional<double>>;
using ostrel::FeedSnapshot;
using ostrel::Indicator;

inline std::unique_ptr<Indicator> make(std::string_view kind, std::vector<double> params) {
    auto r = ostrel::build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

using build_support::build_error;

inline FeedSnapshot bar(double close) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = close;
    return s;
}

inline Series run(Indicator& ind, const std::vector<double>& closes) {
    Series out;
    for (double c : closes) out.push_back(ind.update(bar(c)));
    return out;
}

inline Series run(std::string_view kind, std::vector<double> params, const std::vector<double>& closes) {
    auto ind = make(kind, std::move(params));
    return ind ? run(*ind, closes) : Series{};
}

// Runs the closes with a NaN and an infinite close slipped in every few bars; the
// bad bars must give nothing, and the returned series holds the good bars only.
inline Series run_with_bad_bars(std::string_view kind, std::vector<double> params, const std::vector<double>& closes) {
    auto ind = make(kind, std::move(params));
    Series out;
    if (!ind) return out;
    for (std::size_t i = 0; i < closes.size(); ++i) {
        if (i % 7 == 3) {
            EXPECT_FALSE(ind->update(bar(std::numeric_limits<double>::quiet_NaN()))) << kind << " at " << i;
            EXPECT_FALSE(ind->update(bar(-std::numeric_limits<double>::infinity()))) << kind << " at " << i;
        }
        out.push_back(ind->update(bar(closes[i])));
    }
    return out;
}

inline std::size_t first_value_at(const Series& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i]) return i + 1;
    return 0;
}

// A deterministic wandering price path (same generator as the reference scripts
// that produced the pasted values): steps in (-1, 1), rounded every 17th bar.
inline std::vector<double> path(std::size_t n, double start = 100.0) {
    std::vector<double> xs;
    double x = start;
    std::uint64_t s = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        double u = static_cast<double>(s >> 11) / static_cast<double>(1ULL << 53);
        x += (u - 0.5) * 2.0;
        if (i % 17 == 5) x = std::floor(x + 0.5);
        xs.push_back(x);
    }
    return xs;
}

using build_support::kMax;
using build_support::kZero;
using build_support::params_error;

}  // namespace close_kinds
