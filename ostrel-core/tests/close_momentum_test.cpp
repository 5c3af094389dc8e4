// RSI family kinds and the shared RSI core.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/rsi.hpp"

using namespace ostrel;

namespace {

using Series = std::vector<std::optional<double>>;

std::unique_ptr<Indicator> make(std::string_view kind, std::vector<double> params) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

std::string build_error(std::string_view kind, std::vector<double> params) {
    auto r = build_indicator(kind, params);
    if (r) return "built";
    return r.error().display();
}

FeedSnapshot bar(double close) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = close;
    return s;
}

Series run(Indicator& ind, const std::vector<double>& closes) {
    Series out;
    for (double c : closes) out.push_back(ind.update(bar(c)));
    return out;
}

Series run(std::string_view kind, std::vector<double> params, const std::vector<double>& closes) {
    auto ind = make(kind, std::move(params));
    return ind ? run(*ind, closes) : Series{};
}

const std::string kMax = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
const std::string kZero = "period must be greater than zero";
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Wilder RSI written straight from its definition, for comparison.
Series naive_rsi(std::size_t n, const std::vector<double>& xs) {
    Series out;
    double g = 0, l = 0;
    std::size_t changes = 0;
    std::optional<double> prev;
    for (double x : xs) {
        if (!prev) {
            prev = x;
            out.push_back(std::nullopt);
            continue;
        }
        double c = x - *prev;
        prev = x;
        double gain = c > 0 ? c : 0.0, loss = c < 0 ? -c : 0.0;
        ++changes;
        if (changes < n) {
            g += gain;
            l += loss;
            out.push_back(std::nullopt);
            continue;
        }
        if (changes == n) {
            g = (g + gain) / double(n);
            l = (l + loss) / double(n);
        } else {
            g = std::fma(g, double(n) - 1.0, gain) * (1.0 / double(n));
            l = std::fma(l, double(n) - 1.0, loss) * (1.0 / double(n));
        }
        out.push_back(g + l == 0 ? 50.0 : g * 100.0 / (g + l));
    }
    return out;
}

// A deterministic, wandering price path.
std::vector<double> path(std::size_t n, double start = 100.0) {
    std::vector<double> xs;
    double x = start;
    std::uint64_t s = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        double u = double(s >> 11) / double(1ULL << 53);
        x += (u - 0.5) * 2.0;
        if (i % 17 == 5) x = std::round(x);  // some flat steps
        xs.push_back(x);
    }
    return xs;
}

}  // namespace

TEST(RsiCore, HandWorkedValues) {
    auto r = *core::Rsi::make(2);
    EXPECT_FALSE(r.step(1));
    EXPECT_FALSE(r.step(3));
    EXPECT_EQ(r.step(2), 100.0 / 1.5);                 // gains 2,0 losses 0,1 -> 1 and 0.5
    EXPECT_EQ(r.step(4), 150.0 / 1.75);                // 1.5 and 0.25
    EXPECT_EQ(r.warmup_period(), 3u);

    EXPECT_EQ(run("Rsi", {3}, {1, 2, 3, 4}), (Series{std::nullopt, std::nullopt, std::nullopt, 100.0}));
    EXPECT_EQ(run("Rsi", {3}, {5, 5, 5, 5}), (Series{std::nullopt, std::nullopt, std::nullopt, 50.0}));
    EXPECT_EQ(run("Rsi", {1}, {5, 6, 4, 4}), (Series{std::nullopt, 100.0, 0.0, 50.0}));
}

TEST(RsiCore, MatchesDefinitionAndSkipsBadInput) {
    auto xs = path(400);
    for (std::size_t n : {1u, 2u, 14u, 50u}) {
        auto want = naive_rsi(n, xs);
        auto ind = make("Rsi", {double(n)});
        Series got;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (i % 37 == 3) {
                EXPECT_FALSE(ind->update(bar(i % 2 ? kNaN : -kInf)));
            }
            got.push_back(ind->update(bar(xs[i])));
        }
        EXPECT_EQ(got, want) << n;
    }
}

TEST(RsiCore, Construction) {
    EXPECT_EQ(build_error("Rsi", {0.5}), "invalid parameters for indicator Rsi: parameter #0 must be a positive integer, got 0.5");
    EXPECT_EQ(build_error("Rsi", {1e-20}), "invalid parameters for indicator Rsi: " + kZero);
    EXPECT_EQ(build_error("Rsi", {16777217}), "invalid parameters for indicator Rsi: " + kMax);
    EXPECT_EQ(build_error("Rsi", {16777216}), "built");
    EXPECT_EQ(make("Rsi", {14})->warmup_period(), 15u);
}
