// The suite runner's threads under ThreadSanitizer. run_case is replaced by a
// stand-in that reads its case and candles the way the real one does (shared,
// read-only) and does a little work, so that the pool, the error slot, the
// skipping and the gathering of results are what is checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"

namespace ostrel {

Expected<CaseResult, BenchmarkError> run_case(const BenchmarkCase& c, const std::vector<Candle>& candles) {
    if (auto e = c.validate()) return *e;
    if (c.strategy.find("fail") != nullptr) return BenchmarkError::backtest_engine_text("failed " + c.id);
    double sum = 0.0;
    for (const Candle& k : candles) sum += k.close;
    CaseResult r;
    r.id = c.id;
    r.hash = std::string(64, 'a');
    r.hash_match = r.hash == c.expected_hash;
    r.passed = sum > 0.0;
    r.report_begin = CaseResult::head_room(r.id);
    r.text.assign(r.report_begin, ' ');
    write_canonical_float(r.text, sum);
    r.text.push_back('}');
    r.write_head();
    return r;
}

}  // namespace ostrel

using namespace ostrel;

namespace {

BenchmarkCase make_case(std::string id, bool fail = false) {
    BenchmarkCase c;
    c.id = std::move(id);
    json::Object strategy;
    if (fail) strategy.insert_or_assign("fail", json::Value::boolean(true));
    c.strategy = json::Value::object(std::move(strategy));
    c.dataset_ref = "ds";
    c.expected = json::Value::object(json::Object());
    c.expected_hash = std::string(64, 'a');
    return c;
}

Datasets datasets() {
    Datasets ds;
    for (int k = 0; k < 500; ++k) ds["ds"].push_back(Candle{k, 1, 2, 0.5, 1.5, 3});
    return ds;
}

}  // namespace

TEST(SuiteThreads, ManyCasesOnManyWorkers) {
    std::vector<BenchmarkCase> cases;
    for (int k = 99; k >= 0; --k) cases.push_back(make_case("case" + std::to_string(1000 + k)));
    Datasets ds = datasets();
    WorkerPool pool(8);
    for (int rep = 0; rep < 5; ++rep) {
        auto r = run_suite(cases, ds, pool);
        ASSERT_TRUE(r.has_value());
        ASSERT_EQ(r->results.size(), 100u);
        EXPECT_EQ(r->results.front().id, "case1000");
        EXPECT_EQ(r->results.back().id, "case1099");
        EXPECT_EQ(r->passed, 100u);
    }
    auto g = run_suite(cases, ds);  // the process-wide pool
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->passed, 100u);
}

TEST(SuiteThreads, FailuresRaceForTheErrorSlot) {
    std::vector<BenchmarkCase> cases;
    for (int k = 0; k < 60; ++k) cases.push_back(make_case("c" + std::to_string(k), k % 7 == 3));
    Datasets ds = datasets();
    WorkerPool pool(8);
    for (int rep = 0; rep < 10; ++rep) {
        auto r = run_suite(cases, ds, pool);
        ASSERT_FALSE(r.has_value());
        EXPECT_EQ(r.error().display().rfind("backtest engine error: failed c", 0), 0u);
    }
    WorkerPool one(1);
    auto r = run_suite(cases, ds, one);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().display(), "backtest engine error: failed c3");
}
