#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"
#include "formats_support.hpp"

using namespace ostrel;
using json::Value;
using formats_support::v;

namespace {

// Four bars; entry below 101 at the close, exit above 103; fixed_qty 2, taker 10 bps,
// slippage 5 bps. The report below was worked out by a separate Python computation
// of the same rules, and its hash by b3sum over that text.
const char* kStrategy =
    R"({"spec_version":1,"symbol":"BTCUSDT","timeframe":"1h","indicators":{},)"
    R"("entry":{"lt":[{"price":"close"},101]},"exit":{"gt":[{"price":"close"},103]},)"
    R"("sizing":{"type":"fixed_qty","qty":2},"costs":{"taker_bps":10,"slippage":{"type":"fixed_bps","bps":5}},)"
    R"("execution":{"fill_timing":"close"}})";
const char* kReport =
    R"({"equity":[{"equity":10000,"time":1000},{"equity":10003.6999,"time":2000},{"equity":10006.6999,"time":3000},)"
    R"({"equity":10006.3895035,"time":4000}],"fees_paid":0.809097,"initial_capital":10000,"metrics":{"calmar":20.59876449,)"
    R"("max_drawdown":0.00310189,"num_trades":2,"pnl":6.3895035,"profit_factor":12.71288727,"return_pct":0.06389504,)"
    R"("sharpe":1.21776645,"sortino":11.89102384,"win_rate":50},"schema_version":1,"symbol":"BTCUSDT","timeframe":"1h",)"
    R"("trades":[{"entry_price":100.05,"entry_time":1000,"exit_price":103.44825,"exit_time":3000,"pnl":6.3895035,"qty":2,)"
    R"("reason":"signal","return_pct":3.19315517},{"entry_price":100.55025,"entry_time":4000,"exit_price":100.5,)"
    R"("exit_time":4000,"pnl":-0.5026005,"qty":2,"reason":"end","return_pct":-0.24992504}]})";
const char* kHash = "8602d4988240f0a23e93877f77bffff4b76cff278e072ea3c3454d24c5f6c3f2";

std::vector<Candle> golden_candles() {
    return {{1000, 100.0, 101.0, 99.0, 100.0, 5.0},
            {2000, 100.0, 103.0, 99.5, 102.0, 5.0},
            {3000, 102.0, 104.0, 101.0, 103.5, 5.0},
            {4000, 103.5, 104.0, 100.0, 100.5, 5.0}};
}

BenchmarkCase make_case(std::string id, std::string strategy = kStrategy, std::string expected = kReport,
                        std::string hash = kHash) {
    BenchmarkCase c;
    c.id = std::move(id);
    c.description = "d";
    c.strategy = v(strategy);
    c.dataset_ref = "ds";
    c.expected = v(expected);
    c.expected_hash = std::move(hash);
    return c;
}

// The strategy with one member replaced or added (a JSON member text).
std::string strategy_with(const std::string& member) {
    std::string s = kStrategy;
    s.pop_back();
    return s + "," + member + "}";
}

std::string error_of(const BenchmarkCase& c, const std::vector<Candle>& candles = golden_candles()) {
    auto r = run_case(c, candles);
    return r ? "ok" : r.error().display();
}

}  // namespace

TEST(RunCase, GoldenReportTextAndHash) {
    auto r = run_case(make_case("g"), golden_candles());
    ASSERT_TRUE(r.has_value()) << r.error().display();
    EXPECT_EQ(r->id, "g");
    EXPECT_EQ(r->recomputed(), kReport);
    EXPECT_EQ(r->hash, kHash);
    EXPECT_TRUE(r->passed);
    EXPECT_TRUE(r->hash_match);
    // A different expected report fails the comparison but keeps the hash match.
    auto off = run_case(make_case("g", kStrategy, R"({"x":1})"), golden_candles());
    ASSERT_TRUE(off.has_value());
    EXPECT_FALSE(off->passed);
    EXPECT_TRUE(off->hash_match);
    // A wrong hash, with the right report: passed but no hash match.
    auto bad = run_case(make_case("g", kStrategy, kReport, std::string(64, '0')), golden_candles());
    ASSERT_TRUE(bad.has_value());
    EXPECT_TRUE(bad->passed);
    EXPECT_FALSE(bad->hash_match);
    EXPECT_EQ(bad->hash, kHash);
}

TEST(RunCase, CaseChecksComeFirst) {
    EXPECT_EQ(error_of(make_case("g", kStrategy, kReport, std::string(64, 'A'))),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"" + std::string(64, 'A') + "\"");
    EXPECT_EQ(error_of(make_case("g", kStrategy, kReport, std::string(63, 'a'))),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"" + std::string(63, 'a') + "\"");
    EXPECT_EQ(error_of(make_case("g", "[1]")),
              "invalid strategy spec: strategy must be a JSON object (a StrategySpec)");
    EXPECT_EQ(error_of(make_case("g", kStrategy, "[]")),
              "invalid case: expected must be a JSON object (a BacktestReport)");
    BenchmarkCase both = make_case("");
    both.dataset_ref = "";
    EXPECT_EQ(error_of(both), "invalid case: case id must not be empty");
    both.id = "x";
    EXPECT_EQ(error_of(both), "invalid case: dataset_ref must not be empty");
}

TEST(RunCase, ReadingChecksAndRefusals) {
    EXPECT_EQ(error_of(make_case("g", "{}")), "invalid strategy spec: missing field `symbol`");
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("spec_version":2)"))),
              "backtest engine error: invalid strategy spec: spec_version 2 is not supported; this build reads 1..=1");
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("exit":{"gt":["rsi.value",50]})"))),
              "backtest engine error: rule references undeclared indicator: rsi.value");
    const std::string spread =
        "backtest engine error: invalid strategy spec: costs.slippage spread needs an order-book feed; without one "
        "every fill              would be priced at zero slippage";
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("costs":{"slippage":{"type":"spread"}})"))), spread);
    // The spread refusal wins over an empty candle list.
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("costs":{"slippage":{"type":"spread"}})")), {}), spread);
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("costs":{"funding":true})"))),
              "backtest engine error: invalid strategy spec: costs.funding needs a derivatives feed; without one no "
              "funding would be              charged at all");
    EXPECT_EQ(error_of(make_case("g"), {}), "backtest engine error: invalid input data: no candles");
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("indicators":{"a":{"type":"Nope","params":[]}})"))),
              "backtest engine error: unknown indicator type: Nope");
    EXPECT_EQ(error_of(make_case("g", strategy_with(R"("indicators":{"a":{"type":"Sma","params":[]}})"))),
              "backtest engine error: invalid parameters for indicator Sma: missing parameter #0");
}

TEST(RunSuite, ResultsSortedCountedAndIndependentOfWorkers) {
    std::vector<BenchmarkCase> cases{make_case("b"), make_case("a", kStrategy, kReport, std::string(64, '0')),
                                     make_case("c", kStrategy, R"({"x":1})")};
    Datasets ds;
    ds["ds"] = golden_candles();
    ds["unused"] = {};
    std::string first;
    for (std::size_t workers : {1u, 3u, 8u}) {
        WorkerPool pool(workers);
        auto r = run_suite(cases, ds, pool);
        ASSERT_TRUE(r.has_value()) << r.error().display();
        ASSERT_EQ(r->results.size(), 3u);
        EXPECT_EQ(r->results[0].id, "a");
        EXPECT_EQ(r->results[1].id, "b");
        EXPECT_EQ(r->results[2].id, "c");
        // a: passed but its hash differs, so it counts as failed; c: report differs.
        EXPECT_TRUE(r->results[0].passed);
        EXPECT_FALSE(r->results[0].hash_match);
        EXPECT_EQ(r->passed, 1u);
        EXPECT_EQ(r->failed, 2u);
        std::string text;
        for (const CaseResult& c : r->results) text += c.json();
        if (first.empty()) first = text;
        EXPECT_EQ(text, first) << workers;
    }
}

TEST(RunSuite, FirstErrorWinsAndLaterCasesAreSkipped) {
    // With one worker the first failing case in list order decides.
    std::vector<BenchmarkCase> cases{make_case("a"), make_case("b", strategy_with(R"("spec_version":3)")),
                                     make_case("c", strategy_with(R"("spec_version":4)"))};
    Datasets ds;
    ds["ds"] = golden_candles();
    WorkerPool one(1);
    auto r = run_suite(cases, ds, one);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().display(),
              "backtest engine error: invalid strategy spec: spec_version 3 is not supported; this build reads 1..=1");
    // Every dataset is looked up before anything runs: the missing one wins over
    // the failing runs before it.
    cases.push_back(make_case("d"));
    cases.back().dataset_ref = "nowhere";
    auto m = run_suite(cases, ds, one);
    ASSERT_FALSE(m.has_value());
    EXPECT_EQ(m.error().display(), "data error: no dataset supplied for nowhere");
    // Through the process-wide pool as well.
    auto g = run_suite(cases, ds);
    ASSERT_FALSE(g.has_value());
    EXPECT_EQ(g.error().display(), "data error: no dataset supplied for nowhere");
}

namespace {

std::vector<Candle> walk(std::size_t n) {
    std::vector<Candle> out;
    double close = 100.0;
    for (std::size_t k = 0; k < n; ++k) {
        double open = close;
        close = open + (static_cast<double>((k * 7919) % 41) - 20.0) * 0.05;
        out.push_back(Candle{static_cast<std::int64_t>(k) * 1000, open, std::max(open, close) + 0.5,
                             std::min(open, close) - 0.5, close, 5.0});
    }
    return out;
}

// The one-worker response of a suite, or its error text.
std::string suite_outcome(const std::vector<BenchmarkCase>& cases, const Datasets& ds, WorkerPool& pool) {
    auto r = run_suite(cases, ds, pool);
    if (!r) return r.error().display();
    return std::string(suite_response_text(std::move(*r), pool).view());
}

}  // namespace

// Many failing cases, each with its own error, between slow passing ones: on 1, 2,
// 4 and 8 workers, call after call, the error is the one of the failing case first
// in list order, as on one worker.
TEST(RunSuite, ErrorOfTheFirstFailingCaseInListOrderOnAnyPool) {
    Datasets ds;
    ds["ds"] = golden_candles();
    ds["long"] = walk(5000);
    // Layouts: which indices fail (the rest run 5,000 bars).
    const std::vector<std::vector<int>> layouts = {
        {5, 6, 7, 20, 31}, {0, 1, 2, 3}, {30, 9, 17}, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}, {31}};
    std::vector<WorkerPool*> pools;
    WorkerPool p1(1), p2(2), p4(4), p8(8);
    for (WorkerPool* p : {&p1, &p2, &p4, &p8}) pools.push_back(p);
    for (const std::vector<int>& failing : layouts) {
        std::vector<BenchmarkCase> cases;
        for (int i = 0; i < 32; ++i) {
            bool fails = std::find(failing.begin(), failing.end(), i) != failing.end();
            // A different unsupported spec_version per case gives each failure its text.
            BenchmarkCase c = fails ? make_case("c" + std::to_string(100 + i),
                                                strategy_with("\"spec_version\":" + std::to_string(1000 + i)))
                                    : make_case("c" + std::to_string(100 + i));
            if (!fails) c.dataset_ref = "long";
            cases.push_back(std::move(c));
        }
        const int first = *std::min_element(failing.begin(), failing.end());
        const std::string want = "backtest engine error: invalid strategy spec: spec_version " +
                                 std::to_string(1000 + first) + " is not supported; this build reads 1..=1";
        ASSERT_EQ(suite_outcome(cases, ds, p1), want);
        for (int rep = 0; rep < 4; ++rep) {
            for (WorkerPool* p : pools) EXPECT_EQ(suite_outcome(cases, ds, *p), want) << p->size() << " workers";
        }
    }
}

// A response large enough to be joined by the workers is the same on every pool
// and equals the results' texts joined in order.
TEST(RunSuite, JoinedResponseIsTheSameOnAnyPool) {
    Datasets ds;
    ds["long"] = walk(6000);
    std::vector<BenchmarkCase> cases;
    for (int i = 0; i < 12; ++i) {
        cases.push_back(make_case("k" + std::to_string(50 - i)));
        cases.back().dataset_ref = "long";
    }
    WorkerPool one(1);
    auto r = run_suite(cases, ds, one);
    ASSERT_TRUE(r.has_value());
    std::string joined = "{\"failed\":12,\"passed\":0,\"results\":[";
    for (std::size_t i = 0; i < r->results.size(); ++i) joined += (i ? "," : "") + std::string(r->results[i].json());
    joined += "]}";
    ASSERT_GT(joined.size(), std::size_t{1} << 20);  // past the size joined on the calling thread
    for (std::size_t workers : {1u, 2u, 4u, 8u}) {
        WorkerPool pool(workers);
        for (int rep = 0; rep < 3; ++rep) EXPECT_EQ(suite_outcome(cases, ds, pool), joined) << workers;
    }
    // Taking the cases over gives the same.
    WorkerPool pool(4);
    auto owned = run_suite(std::vector<BenchmarkCase>(cases), ds, pool);
    ASSERT_TRUE(owned.has_value());
    EXPECT_EQ(suite_response_text(std::move(*owned), pool).view(), joined);
}
