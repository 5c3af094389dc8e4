// Suite throughput: K cases x N bars of an SMA-cross strategy with an RSI filter,
// stop loss and take profit, run through run_suite on pools of 1 and W workers.
//
//   engine_bench [--bars N] [--cases K] [--workers W] [--reps R] [--only W]
//
// Prints the median wall time of each pool size, bars per second per core (from the
// one-worker run), the speed-up and parallel efficiency, and the peak resident set.
// With --only W it runs that pool size alone (used to measure peak memory per bar
// count in a fresh process).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"
#include "json/parse.hpp"

#include "bench_support.hpp"

using namespace ostrel;
using namespace bench_support;

namespace {



double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}


double time_suite(const std::vector<BenchmarkCase>& cases, const Datasets& ds, WorkerPool& pool, int reps,
                  std::uint64_t& trades) {
    std::vector<double> times;
    for (int r = 0; r < reps; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        auto res = run_suite(cases, ds, pool);
        times.push_back(seconds_since(t0));
        if (!res) {
            std::fprintf(stderr, "suite failed: %s\n", res.error().display().c_str());
            std::exit(1);
        }
        trades = 0;
        for (const CaseResult& c : res->results) {
            std::string_view t = c.recomputed();
            std::size_t at = t.find("\"num_trades\":");
            if (at != std::string_view::npos) trades += std::strtoull(t.data() + at + 13, nullptr, 10);
        }
    }
    return median(times);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t bars = 200000, ncases = 32, workers = available_processors();
    int reps = 3;
    long only = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--bars")) bars = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--cases")) ncases = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--workers")) workers = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--reps")) reps = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--only")) only = std::atol(argv[i + 1]);
    }

    Datasets ds;
    std::vector<BenchmarkCase> cases;
    for (std::size_t k = 0; k < ncases; ++k) {
        std::string name = "d" + std::to_string(k % 4);
        if (!ds.count(name)) ds[name] = random_walk(bars, static_cast<unsigned>(k % 4) + 1);
        BenchmarkCase c;
        c.id = "case" + std::to_string(100 + k);
        c.strategy = std::move(*json::parse(kStrategy));
        c.dataset_ref = name;
        c.expected = json::Value::object(json::Object());
        c.expected_hash = std::string(64, '0');
        cases.push_back(std::move(c));
    }
    const double total_bars = static_cast<double>(bars) * static_cast<double>(ncases);
    std::uint64_t trades = 0;

    if (only >= 0) {
        WorkerPool pool(static_cast<std::size_t>(only));
        double t = time_suite(cases, ds, pool, reps, trades);
        struct rusage ru;
        getrusage(RUSAGE_SELF, &ru);
        std::printf("bars=%zu cases=%zu workers=%ld median_s=%.4f peak_rss_mb=%.1f trades=%llu\n", bars, ncases, only,
                    t, static_cast<double>(ru.ru_maxrss) / 1024.0, static_cast<unsigned long long>(trades));
        return 0;
    }

    WorkerPool one(1);
    double t1 = time_suite(cases, ds, one, reps, trades);
    WorkerPool many(workers);
    double tn = time_suite(cases, ds, many, reps, trades);
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    std::printf("suite: %zu cases x %zu bars (%llu trades), median of %d runs\n", ncases, bars,
                static_cast<unsigned long long>(trades), reps);
    std::printf("  1 worker : %.3f s  -> %.0f bars/s per core\n", t1, total_bars / t1);
    std::printf("  %zu workers: %.3f s  -> %.0f bars/s\n", many.size(), tn, total_bars / tn);
    std::printf("  speed-up %.2fx, parallel efficiency %.0f%%\n", t1 / tn,
                100.0 * (t1 / tn) / static_cast<double>(many.size()));
    std::printf("  peak resident set %.1f MB\n", static_cast<double>(ru.ru_maxrss) / 1024.0);
    return 0;
}
