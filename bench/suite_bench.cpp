// run_suite of K cases x N hourly candles with a realistic request (each case's
// expected report is the real recomputed report and its real hash), on 1 and on W
// workers, beside a pure compute thread scaling probe run at the same moment.
//
//   suite_bench [--bars N] [--cases K] [--workers W] [--reps R] [--file PATH]
//
// Every measurement runs in a fresh process (the worker pool reads
// RAYON_NUM_THREADS once, at its start), alternating probe and suite runs so that
// both see the same load on the machine. Prints medians over R repetitions of:
// - the probe: K units of pure floating-point work on 1 and on W threads;
// - `command` on the whole request text, and its phases (parse, reading of the
//   request records, the cases on the pool, the joining of the response, release);
// - the peak memory growth of one `command` above the process holding the request
//   text, against request plus response text.
// With SUITE_BENCH_KEEP_CASES set in the environment, the phase "run the cases"
// keeps the request's records (they are freed afterwards), to compare with their
// release by the workers as the cases finish.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "benchmark/command.hpp"
#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "json/parse.hpp"

#include "bench_support.hpp"

using namespace ostrel;
using namespace bench_support;

namespace {



std::string strategy(int variant) {
    static const int fast[] = {10, 12, 8, 15};
    static const int slow[] = {30, 40, 26, 50};
    return R"({"spec_version":1,"symbol":"BTCUSDT","timeframe":"1h","indicators":{"fast":{"type":"Sma","params":[)" +
           std::to_string(fast[variant % 4]) + R"(]},"slow":{"type":"Sma","params":[)" +
           std::to_string(slow[variant % 4]) +
           R"(]},"rsi":{"type":"Rsi","params":[14]}},"entry":{"all":[{"cross_above":["fast","slow"]},)"
           R"({"lt":["rsi",70]}]},"exit":{"cross_below":["fast","slow"]},)"
           R"("sizing":{"type":"fixed_fraction","fraction":0.5},)"
           R"("costs":{"taker_bps":10,"slippage":{"type":"fixed_bps","bps":2}},)"
           R"("risk":{"stop_loss_pct":2,"take_profit_pct":4}})";
}


std::string suite_request(std::size_t ncases, const std::vector<std::string>& datasets,
                          const std::map<std::string, std::pair<std::string, std::string>>& expected) {
    std::string r = R"({"cmd":"run_suite","suite":{"name":"bench","cases":[)";
    for (std::size_t k = 0; k < ncases; ++k) {
        std::string id = "case" + std::to_string(100 + k);
        auto it = expected.find(id);
        r += k ? "," : "";
        r += R"({"id":")" + id + R"(","description":"d","strategy":)" + strategy(static_cast<int>(k / datasets.size())) +
             R"(,"dataset_ref":"d)" + std::to_string(k % datasets.size()) + R"(","expected":)" +
             (it == expected.end() ? std::string("{}") : it->second.first) + R"(,"expected_hash":")" +
             (it == expected.end() ? std::string(64, '0') : it->second.second) + R"("})";
    }
    r += R"(]},"datasets":{)";
    for (std::size_t d = 0; d < datasets.size(); ++d) r += (d ? ",\"d" : "\"d") + std::to_string(d) + "\":" + datasets[d];
    return r + "}}";
}

// id -> (recomputed report text, hash) of every result of a run_suite response.
std::map<std::string, std::pair<std::string, std::string>> reports_of(const std::string& response) {
    std::map<std::string, std::pair<std::string, std::string>> out;
    const std::string sep = "},{\"hash\":\"";
    std::size_t at = response.find("[{\"hash\":\"");
    if (at == std::string::npos) {
        std::fprintf(stderr, "unexpected response: %.300s\n", response.c_str());
        std::exit(1);
    }
    at += 1;
    while (true) {
        std::size_t next = response.find(sep, at);
        std::size_t end = next == std::string::npos ? response.size() - 3 : next;  // the object without "}"
        std::string obj = response.substr(at, end - at);
        std::string hash = obj.substr(9, 64);
        std::size_t id = obj.find(",\"id\":\"");
        std::size_t id_end = obj.find('"', id + 7);
        std::size_t rec = obj.find(",\"recomputed\":");
        out[obj.substr(id + 7, id_end - id - 7)] = {obj.substr(rec + 14), hash};
        if (next == std::string::npos) break;
        at = next + 2;
    }
    return out;
}

long status_kb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    }
    return -1;
}

// ---- children ----------------------------------------------------------------

// K units of floating-point work on `threads` threads, no shared data.
int probe_child(std::size_t threads, std::size_t units) {
    std::atomic<std::size_t> next{0};
    std::atomic<double> sink{0.0};
    auto work = [&] {
        std::size_t u;
        while ((u = next.fetch_add(1)) < units) {
            double a = 1.0 + static_cast<double>(u), b = 2.0, c = 3.0, d = 4.0;
            for (int k = 0; k < 6000000; ++k) {
                a = a * 0.9999999 + 1e-7;
                b = b * 0.9999998 + 2e-7;
                c = std::sqrt(c * c + 1e-9);
                d = d * 1.0000001 - 1e-7;
            }
            sink.store(sink.load() + a + b + c + d);
        }
    };
    auto t0 = Clock::now();
    std::vector<std::thread> ts;
    for (std::size_t t = 0; t < threads; ++t) ts.emplace_back(work);
    for (std::thread& t : ts) t.join();
    std::printf("probe_ms=%.3f sink=%g\n", ms_since(t0), sink.load());
    return 0;
}

int suite_child(const char* path, int reps) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        text = ss.str();
    }
    // Peak memory of one command above the process that holds the request text.
    long before = status_kb("VmRSS:");
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    std::size_t response_size = 0;
    {
        auto r = command_text(text);
        response_size = r->view().size();
        if (r->view().find("\"failed\":0,") == std::string_view::npos) {
            std::fprintf(stderr, "suite_bench: some case does not pass: %.200s\n", std::string(r->view()).c_str());
            return 1;
        }
    }
    long peak = status_kb("VmHWM:");
    std::printf("request=%zu response=%zu growth_kb=%ld workers=%zu\n", text.size(), response_size, peak - before,
                global_worker_pool().size());
    for (int rep = 0; rep < reps; ++rep) {
        auto t0 = Clock::now();
        { auto r = command_text(text); }
        std::printf("command_ms=%.3f\n", ms_since(t0));
        // The same steps one by one.
        t0 = Clock::now();
        // As the command reads it: candle lists and expected reports straight from
        // the text, read ahead on the workers.
        ParsedRequest request = std::move(*parse_command_request(text));
        std::printf("parse_ms=%.3f\n", ms_since(t0));
        t0 = Clock::now();
        RunSuiteReq req;
        if (read_run_suite_req(request, req)) return 1;
        request = ParsedRequest();
        std::printf("read_ms=%.3f\n", ms_since(t0));
        // From the read request to the response text: time, and peak memory above
        // the process holding the request text and the read records.
        long records = status_kb("VmRSS:");
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        t0 = Clock::now();
        auto result = std::getenv("SUITE_BENCH_KEEP_CASES") != nullptr
                          ? run_suite(req.suite.cases, req.datasets, global_worker_pool())
                          : run_suite(std::move(req.suite.cases), req.datasets, global_worker_pool());
        std::printf("run_ms=%.3f\n", ms_since(t0));
        t0 = Clock::now();
        Text response = suite_response_text(std::move(*result), global_worker_pool());
        std::printf("join_ms=%.3f\n", ms_since(t0));
        std::printf("response_side_growth_kb=%ld\n", status_kb("VmHWM:") - records);
        t0 = Clock::now();
        response = Text();
        req = RunSuiteReq();
        std::printf("release_ms=%.3f\n", ms_since(t0));
    }
    return 0;
}

// Runs this program with args and RAYON_NUM_THREADS=workers; returns its stdout.
std::string run_child(const std::string& self, std::size_t workers, const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        setenv("RAYON_NUM_THREADS", std::to_string(workers).c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(self.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "child failed: %s\n", out.c_str());
        std::exit(1);
    }
    return out;
}

// Every value of key=V in the text.
std::vector<double> values(const std::string& out, const std::string& key) {
    std::vector<double> v;
    std::size_t at = 0;
    while ((at = out.find(key + "=", at)) != std::string::npos) {
        v.push_back(std::atof(out.c_str() + at + key.size() + 1));
        at += key.size() + 1;
    }
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && !std::strcmp(argv[1], "--probe-child"))
        return probe_child(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10));
    if (argc >= 4 && !std::strcmp(argv[1], "--suite-child")) return suite_child(argv[2], std::atoi(argv[3]));

    std::size_t bars = 100000, ncases = 32, workers = 8;
    int reps = 5;
    std::string file = "suite_bench_request.json";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--bars")) bars = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--cases")) ncases = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--workers")) workers = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--reps")) reps = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--file")) file = argv[i + 1];
    }
    const std::string self = "/proc/self/exe";
    std::string self_path(4096, '\0');
    ssize_t len = readlink(self.c_str(), self_path.data(), self_path.size());
    self_path.resize(len > 0 ? static_cast<std::size_t>(len) : 0);

    {
        // The request: 8 datasets (fewer with fewer cases), 4 strategy variants; the
        // expected reports and hashes are those the engine computes.
        std::vector<std::string> datasets;
        for (std::size_t d = 0; d < std::min<std::size_t>(8, ncases); ++d)
            datasets.push_back(candles_text(bars, static_cast<unsigned>(d) + 1));
        auto reports = reports_of(*command(suite_request(ncases, datasets, {})));
        std::string request = suite_request(ncases, datasets, reports);
        std::ofstream(file, std::ios::binary) << request;
        std::printf("run_suite request: %zu cases x %zu candles, %.1f MB, written to %s\n", ncases, bars,
                    static_cast<double>(request.size()) / 1e6, file.c_str());
    }

    std::map<std::size_t, std::string> probe_out, suite_out;
    for (int rep = 0; rep < reps; ++rep) {
        for (std::size_t w : {std::size_t{1}, workers}) {
            probe_out[w] += run_child(self_path, w, {"--probe-child", std::to_string(w), std::to_string(ncases)});
            suite_out[w] += run_child(self_path, w, {"--suite-child", file, "1"});
        }
    }
    auto m = [&](std::map<std::size_t, std::string>& o, std::size_t w, const char* key) {
        return median(values(o[w], key));
    };
    const double p1 = m(probe_out, 1, "probe_ms"), pw = m(probe_out, workers, "probe_ms");
    const double probe_speedup = p1 / pw;
    std::printf("\nmedians of %d runs, each in a fresh process (1 worker / %zu workers)\n", reps, workers);
    std::printf("  pure compute probe, %zu units        %9.1f / %8.1f ms   speed-up %.2fx\n", ncases, p1, pw,
                probe_speedup);
    const char* keys[] = {"command_ms", "parse_ms", "read_ms", "run_ms", "join_ms", "release_ms"};
    const char* names[] = {"command (request text to response)", "  parse (parse_request)", "  read the request records",
                           "  run the cases (run_suite)", "  join the response text", "  release records and text"};
    for (int k = 0; k < 6; ++k) {
        double a = m(suite_out, 1, keys[k]), b = m(suite_out, workers, keys[k]);
        std::printf("  %-36s %9.1f / %8.1f ms   speed-up %.2fx\n", names[k], a, b, b > 0 ? a / b : 0.0);
    }
    double c1 = m(suite_out, 1, "command_ms"), cw = m(suite_out, workers, "command_ms");
    double r1 = m(suite_out, 1, "run_ms") + m(suite_out, 1, "join_ms");
    double rw = m(suite_out, workers, "run_ms") + m(suite_out, workers, "join_ms");
    std::printf("  command speed-up / probe speed-up: %.2f\n", (c1 / cw) / probe_speedup);
    std::printf("  run + join (from the read request to the response text): %.1f / %.1f ms, speed-up %.2fx, "
                "/ probe speed-up: %.2f\n",
                r1, rw, r1 / rw, (r1 / rw) / probe_speedup);
    for (std::size_t w : {std::size_t{1}, workers}) {
        double req = m(suite_out, w, "request"), resp = m(suite_out, w, "response"), g = m(suite_out, w, "growth_kb");
        std::printf("  peak memory growth of one command on %zu worker(s): %.1f MB = %.2f x (request %.1f MB + "
                    "response %.1f MB)\n",
                    w, g / 1024.0, g * 1024.0 / (req + resp), req / 1e6, resp / 1e6);
    }
    for (std::size_t w : {std::size_t{1}, workers}) {
        double resp = m(suite_out, w, "response"), g = m(suite_out, w, "response_side_growth_kb");
        std::printf("  peak memory growth from the read request to the response text on %zu worker(s): %.1f MB = "
                    "%.2f x response text\n",
                    w, g / 1024.0, g * 1024.0 / resp);
    }
    std::printf("  probe runs (ms), 1 thread: ");
    for (double v : values(probe_out[1], "probe_ms")) std::printf("%.0f ", v);
    std::printf("; %zu threads: ", workers);
    for (double v : values(probe_out[workers], "probe_ms")) std::printf("%.0f ", v);
    std::printf("\n  command runs (ms), 1 worker: ");
    for (double v : values(suite_out[1], "command_ms")) std::printf("%.0f ", v);
    std::printf("; %zu workers: ", workers);
    for (double v : values(suite_out[workers], "command_ms")) std::printf("%.0f ", v);
    std::printf("\n");
    return 0;
}
