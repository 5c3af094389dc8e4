// One run_case of N hourly candles (SMA 10/30 cross, RSI 14 filter, stop loss, take
// profit) with a realistic request: the case's expected report is the real
// recomputed report (one equity point per candle) and its real hash.
//
//   response_bench [--bars N] [--reps R]
//
// Prints, as medians over R repetitions on one thread:
// - `command` on the whole request text (request reading as this build does it);
// - the phases after the request is read, as the command runs them now (bar loop,
//   metrics, the report's canonical text written once from its records, hash,
//   comparison with the expected report's tree, head, release of the records);
// - the same phases by the former path (report to a value tree, canonical text of
//   the tree for the hash, canonical text of the expected tree, copy of the tree
//   into the result, canonical text of the response, release), for comparison;
// - the cost per number of the fixed-form float writer and of to_chars.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "backtest/engine.hpp"
#include "benchmark/command.hpp"
#include "benchmark/runner.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"
#include "strategy/read.hpp"

#include "bench_support.hpp"

using namespace ostrel;
using namespace bench_support;

namespace {





std::string run_case_request(const std::string& candles, const std::string& expected, const std::string& hash) {
    return std::string(R"({"cmd":"run_case","case":{"id":"bench","description":"one strategy","strategy":)") +
           kStrategy + R"(,"dataset_ref":"btc","expected":)" + expected + R"(,"expected_hash":")" + hash +
           R"("},"data":)" + candles + "}";
}

// The "recomputed" member and the hash of a run_case response.
void report_of(const std::string& response, std::string& report, std::string& hash) {
    std::size_t h = response.find("{\"hash\":\"");
    std::size_t r = response.find(",\"recomputed\":");
    if (h != 0 || r == std::string::npos) {
        std::fprintf(stderr, "unexpected response: %.300s\n", response.c_str());
        std::exit(1);
    }
    hash = response.substr(9, 64);
    report = response.substr(r + 14, response.size() - (r + 14) - 1);
}

struct Phases {
    std::vector<std::pair<const char*, std::vector<double>>> rows;
    void add(const char* name, double ms) {
        for (auto& r : rows) {
            if (std::strcmp(r.first, name) == 0) {
                r.second.push_back(ms);
                return;
            }
        }
        rows.push_back({name, {ms}});
    }
    double print(const char* title) const {
        std::printf("%s\n", title);
        double total = 0.0;
        for (const auto& r : rows) {
            double m = median(r.second);
            total += m;
            std::printf("  %-58s %8.2f ms\n", r.first, m);
        }
        std::printf("  %-58s %8.2f ms\n", "sum of the medians", total);
        return total;
    }
};

// Times f and records it under name.
template <class F>
auto timed(Phases& p, const char* name, F&& f) {
    auto t0 = Clock::now();
    if constexpr (std::is_void_v<decltype(f())>) {
        f();
        p.add(name, ms_since(t0));
    } else {
        auto r = f();
        p.add(name, ms_since(t0));
        return r;
    }
}

Backtest make_backtest(const BenchmarkCase& c, std::size_t bars) {
    StrategySpec spec = std::move(*strategy_spec_from_value(c.strategy));
    return std::move(*Backtest::create(std::move(spec), bars));
}

// The bar loop and the metrics, the phases both paths share.
BacktestReport run_bars(Phases& p, const BenchmarkCase& c, const std::vector<Candle>& candles) {
    Backtest bt = make_backtest(c, candles.size());
    timed(p, "bar loop", [&] {
        BarInput bar;
        for (const Candle& k : candles) {
            bar.candle = k;
            if (bt.step(bar)) std::exit(1);
        }
    });
    return timed(p, "finish (metrics)", [&] { return std::move(bt).finish(); });
}

// The phases after the request is read, by the current path.
void phases_now(Phases& p, BenchmarkCase c, std::vector<Candle> candles) {
    BacktestReport report = run_bars(p, c, candles);
    CaseResult result;
    result.id = c.id;
    const std::size_t room = CaseResult::head_room(result.id);
    timed(p, "report canonical text, written once from the records", [&] {
        result.text.reserve(room + 512 + 40 * report.equity.size() + 200 * report.trades.size());
        result.text.resize(room);
        write_canonical_report(result.text, report);
        result.text.push_back('}');
        result.report_begin = room;
    });
    timed(p, "hash (BLAKE3 of the report text)", [&] { result.hash = blake3_hex(result.recomputed()); });
    result.hash_match = result.hash == c.expected_hash;
    timed(p, "compare with the expected tree (piecewise canonical)",
          [&] { result.passed = canonical_text_equals(c.expected, result.recomputed()); });
    timed(p, "head of the result object (the response text)", [&] { result.write_head(); });
    if (!result.passed || !result.hash_match) {
        std::fprintf(stderr, "the expected report does not match\n");
        std::exit(1);
    }
    timed(p, "release records, report and response text", [&] {
        BenchmarkCase gone = std::move(c);
        std::vector<Candle> k = std::move(candles);
        BacktestReport r = std::move(report);
        CaseResult x = std::move(result);
    });
}

// The same by the former path: trees for the report and the result.
void phases_before(Phases& p, BenchmarkCase c, std::vector<Candle> candles) {
    BacktestReport report = run_bars(p, c, candles);
    json::Value tree = timed(p, "report to a JSON tree", [&] { return report.to_json(); });
    std::string text = timed(p, "canonical text of the report tree", [&] { return *canonical_json(tree); });
    std::string hash = timed(p, "hash", [&] { return blake3_hex(text); });
    bool passed = timed(p, "canonical text of the expected tree, compare",
                        [&] { return *canonical_json(c.expected) == text; });
    json::Value copy = timed(p, "copy of the report tree into the result", [&] { return tree; });
    std::string response = timed(p, "canonical text of the response (report again)", [&] {
        json::Object o;
        o.insert_or_assign("hash", json::Value::string(hash));
        o.insert_or_assign("hash_match", json::Value::boolean(hash == c.expected_hash));
        o.insert_or_assign("id", json::Value::string(c.id));
        o.insert_or_assign("passed", json::Value::boolean(passed));
        o.insert_or_assign("recomputed", std::move(copy));
        return *canonical_json(json::Value::object(std::move(o)));
    });
    timed(p, "release records, trees and texts", [&] {
        BenchmarkCase gone = std::move(c);
        std::vector<Candle> k = std::move(candles);
        json::Value t = std::move(tree);
        std::string a = std::move(text), b = std::move(response);
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t bars = 200000;
    int reps = 7;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--bars")) bars = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--reps")) reps = std::atoi(argv[i + 1]);
    }
    const std::string candles = candles_text(bars, 11);
    std::string report, hash;
    report_of(*command(run_case_request(candles, "{}", std::string(64, '0'))), report, hash);
    const std::string request = run_case_request(candles, report, hash);
    std::printf("run_case request: %zu candles, %.1f MB (expected report %.1f MB), response %.1f MB\n", bars,
                static_cast<double>(request.size()) / 1e6, static_cast<double>(report.size()) / 1e6,
                static_cast<double>(report.size() + 200) / 1e6);

    // The records the request reading yields, built here once.
    BenchmarkCase c;
    c.id = "bench";
    c.strategy = std::move(*json::parse(kStrategy));
    c.dataset_ref = "btc";
    c.expected = std::move(*json::parse(report));
    c.expected_hash = hash;
    std::vector<Candle> data;
    {
        json::Value v = std::move(*json::parse(candles));
        for (const json::Value& k : v.as_array())
            data.push_back(Candle{k.find("time")->as_int(), k.find("open")->to_f64(), k.find("high")->to_f64(),
                                  k.find("low")->to_f64(), k.find("close")->to_f64(), k.find("volume")->to_f64()});
    }

    std::vector<double> whole;
    Phases now, before;
    for (int r = 0; r < reps; ++r) {
        auto t0 = Clock::now();
        auto resp = command_text(request);
        whole.push_back(ms_since(t0));
        if (resp->view().find("\"hash_match\":true") == std::string_view::npos ||
            resp->view().find("\"passed\":true") == std::string_view::npos) {
            std::fprintf(stderr, "command: the case does not pass\n");
            return 1;
        }
        phases_now(now, c, data);
        phases_before(before, c, data);
    }
    std::printf("\ncommand (request text to response text), median of %d: %.2f ms\n\n", reps, median(whole));
    double after_ms = now.print("after the request is read, now:");
    std::printf("\n");
    double before_ms = before.print("after the request is read, former tree path:");
    std::printf("\nresponse side without the bar loop and metrics: now %.2f ms, former %.2f ms\n",
                after_ms - median(now.rows[0].second) - median(now.rows[1].second),
                before_ms - median(before.rows[0].second) - median(before.rows[1].second));

    // The float writers, per number, over the report's equity values.
    std::vector<double> xs;
    for (std::size_t k = 0; k < 1000000; ++k) xs.push_back(10000.0 + static_cast<double>(k) * 0.0123456789);
    std::string sink;
    sink.reserve(32 * xs.size());
    auto t0 = Clock::now();
    for (double x : xs) write_canonical_float(sink, x);
    double fast_ns = ms_since(t0) * 1e6 / static_cast<double>(xs.size());
    sink.clear();
    t0 = Clock::now();
    char buf[64];
    for (double x : xs) {
        auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 8);
        sink.append(buf, res.ptr);
    }
    double tc_ns = ms_since(t0) * 1e6 / static_cast<double>(xs.size());
    std::printf("float writer: %.1f ns per number (to_chars fixed 8 alone: %.1f ns)\n", fast_ns, tc_ns);
    return 0;
}
