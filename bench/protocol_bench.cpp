// Throughput of the JSON parser (a "run_suite" request holding 1,000,000 candles,
// object form and array form; parse alone into a tree, parse plus the tree reader,
// and the dispatcher's path: the candles read straight from the text by
// parse_request, plus its reader) and of the canonical writer (a report with
// 1,000,000 equity points).
// Prints MB/s, best of 5 runs. The Python side-by-side is bench/protocol_bench.py.
#include <chrono>
#include <cstdio>
#include <string>

#include "benchmark/formats.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

namespace {

constexpr int kCandles = 1000000;

std::string candles_text(bool object_form) {
    std::string s = "{\"cmd\":\"run_suite\",\"suite\":{\"name\":\"bench\",\"cases\":[]},\"datasets\":{\"btc\":[";
    char buf[256];
    double price = 30000.0;
    for (int i = 0; i < kCandles; ++i) {
        double o = price, c = price + ((i * 7919LL) % 200 - 100) * 0.25;
        double h = (o > c ? o : c) + 1.5, l = (o < c ? o : c) - 1.25;
        long long t = 1700000000000LL + 60000LL * i;
        double v = 100.0 + (i % 977) * 0.125;
        if (object_form) {
            std::snprintf(buf, sizeof buf,
                          "%s{\"time\":%lld,\"open\":%.2f,\"high\":%.2f,\"low\":%.2f,\"close\":%.2f,\"volume\":%.3f}",
                          i ? "," : "", t, o, h, l, c, v);
        } else {
            std::snprintf(buf, sizeof buf, "%s[%lld,%.2f,%.2f,%.2f,%.2f,%.3f]", i ? "," : "", t, o, h, l, c, v);
        }
        s += buf;
        price = c;
    }
    s += "]}}";
    return s;
}

template <class F>
double best_seconds(F&& f) {
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
        if (d.count() < best) best = d.count();
    }
    return best;
}

}  // namespace

int main() {
    for (bool object_form : {true, false}) {
        std::string text = candles_text(object_form);
        double mb = static_cast<double>(text.size()) / 1e6;
        double parse_s = best_seconds([&] {
            auto v = ostrel::json::parse(text);
            if (!v) std::printf("parse failed: %s\n", v.error().display().c_str());
        });
        double read_s = best_seconds([&] {
            auto v = ostrel::json::parse(text);
            ostrel::RunSuiteReq req;
            if (auto f = ostrel::read_run_suite_req(*v, req)) std::printf("read failed: %s\n", f->message.c_str());
        });
        double request_s = best_seconds([&] {
            auto r = ostrel::parse_request(text);
            ostrel::RunSuiteReq req;
            if (auto f = ostrel::read_run_suite_req(*r, req)) std::printf("read failed: %s\n", f->message.c_str());
        });
        std::printf("run_suite request, %s form, %.1f MB: tree parse %.0f MB/s, tree parse+read %.0f MB/s, "
                    "parse_request+read %.0f MB/s\n",
                    object_form ? "object" : "array", mb, mb / parse_s, mb / read_s, mb / request_s);
    }
    // A report with 1,000,000 equity points.
    using ostrel::json::Value;
    ostrel::json::Array equity;
    equity.reserve(kCandles);
    double e = 10000.0;
    for (int i = 0; i < kCandles; ++i) {
        ostrel::json::Object p;
        p.insert_or_assign("equity", Value::number(e));
        p.insert_or_assign("time", Value::integer(1700000000000LL + 60000LL * i));
        equity.push_back(Value::object(std::move(p)));
        e *= 1.0 + (((i * 7919LL) % 200) - 100) * 1e-5;
    }
    ostrel::json::Object report;
    report.insert_or_assign("equity", Value::array(std::move(equity)));
    report.insert_or_assign("symbol", Value::string("BTCUSDT"));
    report.insert_or_assign("trades", Value::array({}));
    Value rv = Value::object(std::move(report));
    std::size_t out_size = 0;
    double write_s = best_seconds([&] { out_size = ostrel::canonical_json(rv)->size(); });
    double hash_s = best_seconds([&] {
        std::string t = *ostrel::canonical_json(rv);
        (void)ostrel::blake3_hex(t);
    });
    std::printf("canonical report, 1000000 equity points, %.1f MB: write %.0f MB/s, write+hash %.0f MB/s\n",
                static_cast<double>(out_size) / 1e6, static_cast<double>(out_size) / 1e6 / write_s,
                static_cast<double>(out_size) / 1e6 / hash_s);
    return 0;
}
