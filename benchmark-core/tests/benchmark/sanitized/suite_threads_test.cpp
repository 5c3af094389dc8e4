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

// Every seventh case fails with its own text: on every pool size the error is the
// one of the first failing case in list order, call after call.
TEST(SuiteThreads, FailuresReportTheFirstInListOrder) {
    std::vector<BenchmarkCase> cases;
    for (int k = 0; k < 60; ++k) cases.push_back(make_case("c" + std::to_string(k), k % 7 == 3));
    Datasets ds = datasets();
    for (std::size_t workers : {1u, 2u, 4u, 8u}) {
        WorkerPool pool(workers);
        for (int rep = 0; rep < 10; ++rep) {
            auto r = run_suite(cases, ds, pool);
            ASSERT_FALSE(r.has_value());
            EXPECT_EQ(r.error().display(), "backtest engine error: failed c3") << workers << " workers";
        }
    }
    // Taking the cases over: the workers release each case's trees.
    WorkerPool pool(8);
    auto r = run_suite(std::vector<BenchmarkCase>(cases), ds, pool);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().display(), "backtest engine error: failed c3");
}

// The response of a suite whose results are joined by the workers.
TEST(SuiteThreads, WorkersJoinTheResponse) {
    std::vector<BenchmarkCase> cases;
    for (int k = 0; k < 40; ++k) cases.push_back(make_case("j" + std::to_string(k)));
    Datasets ds = datasets();
    WorkerPool pool(8);
    std::string first;
    for (int rep = 0; rep < 5; ++rep) {
        auto r = run_suite(std::vector<BenchmarkCase>(cases), ds, pool);
        ASSERT_TRUE(r.has_value());
        // Results padded past the size joined on the calling thread.
        for (CaseResult& c : r->results) c.text.insert(c.report_begin, 40000, ' ');
        for (CaseResult& c : r->results) c.report_begin += 40000;
        std::string text(suite_response_text(std::move(*r), pool).view());
        if (first.empty()) first = text;
        EXPECT_EQ(text, first);
    }
    EXPECT_GT(first.size(), std::size_t{1} << 20);
}

// A suite request read with its datasets and expected reports read ahead on a pool
// gives what the serial read gives.
TEST(SuiteThreads, RequestReadAheadOnWorkers) {
    std::string text = "{\"cmd\":\"run_suite\",\"datasets\":{";
    for (int d = 0; d < 6; ++d) {
        text += (d ? ",\"d" : "\"d") + std::to_string(d) + "\":[";
        for (int i = 0; i < 300; ++i) {
            text += (i ? ",[" : "[") + std::to_string(1000 + i) + ",1.5,2.25,0.75," + std::to_string(d + i) + ".125]";
        }
        text += "]";
    }
    text += "},\"suite\":{\"cases\":[";
    for (int c = 0; c < 6; ++c) {
        text += std::string(c ? "," : "") + "{\"id\":\"c" + std::to_string(c) +
                "\",\"description\":\"\",\"strategy\":{},\"dataset_ref\":\"d0\",\"expected_hash\":\"" +
                std::string(64, 'a') + "\",\"expected\":{\"equity\":[";
        for (int i = 0; i < 300; ++i) {
            text += std::string(i ? "," : "") + "{\"time\":" + std::to_string(i) + ",\"equity\":" +
                    std::to_string(c * 1000 + i) + ".5}";
        }
        text += "],\"symbol\":\"X\"}}";
    }
    text += "]}}";
    auto serial = parse_request(text);
    ASSERT_TRUE(serial);
    WorkerPool pool(4);
    auto on_pool = [&](std::size_t n, const std::function<void(std::size_t)>& task) { pool.run(n, task); };
    for (std::size_t chunks : {1, 4, 16}) {
        auto ahead = parse_request(text, on_pool, chunks);
        ASSERT_TRUE(ahead);
        EXPECT_EQ(ahead->expected_texts, serial->expected_texts);
        ASSERT_EQ(ahead->datasets_taken.size(), 6u);
        for (const auto& [name, candles] : serial->datasets_taken) {
            const auto& other = ahead->datasets_taken.at(name);
            ASSERT_EQ(other.size(), candles.size());
            for (std::size_t i = 0; i < candles.size(); ++i) {
                EXPECT_EQ(other[i].time, candles[i].time);
                EXPECT_EQ(other[i].close, candles[i].close);
            }
        }
    }
}
