// The report's canonical text written straight from its records must be the bytes
// that the value tree of BacktestReport::to_json gives through canonical_json.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "backtest/engine.hpp"
#include "backtest/report.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"
#include "strategy/read.hpp"

using namespace ostrel;

namespace {

std::string direct(const BacktestReport& r) {
    std::string s;
    write_canonical_report(s, r);
    return s;
}

std::string through_tree(const BacktestReport& r) { return *canonical_json(r.to_json()); }

std::vector<Candle> random_walk(std::size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> step(0.0002, 0.01);
    std::vector<Candle> out;
    double close = 30000.0;
    for (std::size_t k = 0; k < n; ++k) {
        double open = close;
        close = open * (1.0 + step(rng));
        out.push_back(Candle{static_cast<std::int64_t>(k) * 3600000 - 7200000, open, std::max(open, close) * 1.002,
                             std::min(open, close) * 0.998, close, 10.0});
    }
    return out;
}

}  // namespace

// Values at the edges of the number rule: non-finite metrics (null), negative
// and subnormal floats, values on both sides of the threshold, negative times,
// integers at their extremes, strings that need escapes and non-ASCII bytes.
TEST(ReportText, EdgeValuesMatchTheTreeWriter) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    BacktestReport r;
    r.symbol = "BTC/\"USD\"\n\xC3\xA9";
    r.timeframe = std::string("1h\x01", 3);
    r.metrics = Metrics{-0.0, 1e-9, std::nan(""), -inf, inf, 45035996.27370496, 100.0, 1.0 / 3.0, 18446744073709551615ull};
    r.fees_paid = std::nextafter(45035996.27370496, 0.0);
    r.initial_capital = 10000.0;
    r.schema_version = 4294967295u;
    const double values[] = {0.0,   -0.0, 1.0 / 512.0, -5e-9, 4.9e-324, 1e23, -1e23, 123456789.125,
                             -2.5,  0.1,  2.0 / 3.0,   inf,   std::nan(""), 45035996.27370496, 9007199254740993.0};
    std::int64_t t = std::numeric_limits<std::int64_t>::min();
    for (double v : values) r.equity.push_back({t++, v});
    r.equity.push_back({std::numeric_limits<std::int64_t>::max(), 1.0});
    r.equity.push_back({0, 10000.0});
    for (const char* reason : {"signal", "stop_loss", "end"}) {
        ClosedTrade tr;
        tr.reason = reason;
        tr.entry_time = -1;
        tr.exit_time = 1700000000000;
        tr.entry_price = 100.05;
        tr.exit_price = inf;
        tr.qty = -2.0;
        tr.pnl = -0.5026005;
        tr.return_pct = std::nan("");
        r.trades.push_back(tr);
    }
    EXPECT_EQ(direct(r), through_tree(r));
    // An empty report, and text appended after what is already there.
    BacktestReport empty;
    EXPECT_EQ(direct(empty), through_tree(empty));
    std::string s = "prefix";
    write_canonical_report(s, empty);
    EXPECT_EQ(s, "prefix" + through_tree(empty));
}

// Random reports of many sizes: every value drawn from random bit patterns.
TEST(ReportText, RandomReportsMatchTheTreeWriter) {
    std::mt19937_64 rng(7);
    auto any_double = [&] {
        std::uint64_t b = rng();
        double x;
        std::memcpy(&x, &b, sizeof x);
        return (rng() & 3) == 0 ? x : std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 80) - 60);
    };
    for (std::size_t n : {0u, 1u, 2u, 100u, 1000u, 20000u}) {
        BacktestReport r;
        r.symbol = "S" + std::to_string(n);
        r.timeframe = "1m";
        for (std::size_t k = 0; k < n; ++k) r.equity.push_back({static_cast<std::int64_t>(rng()), any_double()});
        for (std::size_t k = 0; k < n / 10; ++k) {
            ClosedTrade t;
            t.reason = (k & 1) ? "take_profit" : "signal";
            t.entry_time = static_cast<std::int64_t>(rng());
            t.exit_time = static_cast<std::int64_t>(rng());
            t.entry_price = any_double();
            t.exit_price = any_double();
            t.qty = any_double();
            t.pnl = any_double();
            t.return_pct = any_double();
            r.trades.push_back(t);
        }
        r.metrics = Metrics{any_double(), any_double(), any_double(), any_double(), any_double(),
                            any_double(), any_double(), any_double(), rng()};
        r.fees_paid = any_double();
        ASSERT_EQ(direct(r), through_tree(r)) << n;
    }
}

// A real run of 100,000 bars: the large report of a response.
TEST(ReportText, LargeRunMatchesTheTreeWriter) {
    const char* strategy =
        R"({"spec_version":1,"symbol":"BENCH","timeframe":"1h",)"
        R"("indicators":{"fast":{"type":"Sma","params":[10]},"slow":{"type":"Sma","params":[30]},)"
        R"("rsi":{"type":"Rsi","params":[14]}},)"
        R"("entry":{"all":[{"cross_above":["fast","slow"]},{"lt":["rsi",70]}]},)"
        R"("exit":{"cross_below":["fast","slow"]},)"
        R"("sizing":{"type":"fixed_fraction","fraction":0.5},)"
        R"("costs":{"taker_bps":10,"slippage":{"type":"fixed_bps","bps":2}},)"
        R"("risk":{"stop_loss_pct":2,"take_profit_pct":4}})";
    auto spec = strategy_spec_from_value(std::move(*json::parse(strategy)));
    ASSERT_TRUE(spec.has_value());
    std::vector<Candle> candles = random_walk(100000, 3);
    auto bt = Backtest::create(std::move(*spec), candles.size());
    ASSERT_TRUE(bt.has_value());
    BarInput bar;
    for (const Candle& c : candles) {
        bar.candle = c;
        ASSERT_FALSE(bt->step(bar).has_value());
    }
    BacktestReport r = std::move(*bt).finish();
    ASSERT_EQ(r.equity.size(), candles.size());
    ASSERT_GT(r.trades.size(), 100u);
    std::string text = direct(r);
    EXPECT_EQ(text, through_tree(r));
    EXPECT_EQ(blake3_hex(text), blake3_hex(through_tree(r)));
    // The expected report as the request carries it (a parsed tree) compares equal.
    auto expected = json::parse(text);
    ASSERT_TRUE(expected.has_value());
    EXPECT_TRUE(canonical_text_equals(*expected, text));
}
