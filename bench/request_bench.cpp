// The request side of one run_case command of N candles (default 200,000): the
// phases parse, read and free, the rest of the command as one figure, and, in the
// same process (embedded Python, when the bench was built with it), orjson.loads
// of the same request text, with the ratios to it.
//
// The request is realistic: random-walk candles written with shortest round-trip
// digits (as Python's json.dumps writes floats), the bench strategy (SMA 10/30 cross,
// RSI 14 filter, stop loss, take profit), and as the expected report the report this
// engine recomputes for the case, in canonical text, with its real hash.
//
//   request_bench [--bars N] [--reps R]
//   request_bench --request-only [--reps R]   (the request side alone, for a profiler)
//   request_bench --memory FILE   (internal: peak memory of reading FILE's request)
//
// Peak memory of reading is measured in a fresh process on the request written to
// a temporary file: the growth of the peak resident set over the text itself.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "benchmark/command.hpp"
#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

#ifdef OSTREL_BENCH_PYTHON
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#endif

#include "bench_support.hpp"

using namespace ostrel;
using namespace bench_support;

namespace {



void put_shortest(std::string& s, double x) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x);
    std::string_view d(buf, static_cast<std::size_t>(r.ptr - buf));
    s += d;
    if (d.find_first_of(".e") == std::string_view::npos) s += ".0";  // as Python writes floats
}

// with_expected false: the expected report left empty, to see the candles' share.
std::string request_text(std::size_t bars, bool with_expected = true) {
    std::vector<Candle> candles = random_walk(bars, 1);
    BenchmarkCase c;
    c.id = "bench";
    c.description = "SMA 10/30 cross, RSI 14 filter, stop loss, take profit";
    c.strategy = std::move(*json::parse(kStrategy));
    c.dataset_ref = "d";
    c.expected = json::Value::object(json::Object());
    c.expected_hash = std::string(64, '0');
    auto first = run_case(c, candles);
    if (!first) {
        std::fprintf(stderr, "case failed: %s\n", first.error().display().c_str());
        std::exit(1);
    }
    std::string report = with_expected ? std::string(first->recomputed()) : "{}";
    std::string s = "{\"cmd\":\"run_case\",\"case\":{\"id\":\"bench\",\"description\":\"" + c.description +
                    "\",\"strategy\":" + kStrategy + ",\"dataset_ref\":\"d\",\"expected\":" + report +
                    ",\"expected_hash\":\"" + first->hash + "\"},\"data\":[";
    s.reserve(s.size() + bars * 110);
    for (std::size_t k = 0; k < candles.size(); ++k) {
        const Candle& x = candles[k];
        s += k ? ",[" : "[";
        s += std::to_string(x.time);
        for (double v : {x.open, x.high, x.low, x.close, x.volume}) {
            s += ',';
            put_shortest(s, v);
        }
        s += ']';
    }
    s += "]}";
    return s;
}


// The best of the runs: on a shared machine the least disturbed one.
double best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

struct Phases {
    double parse = 0, read = 0, free = 0;
};


// The request side as the dispatcher runs it: parse (the candles and the expected
// report read straight from the text, by the workers for a large text, the rest
// into a tree), read the records, then free what is left of the tree and the
// records (the dispatcher frees the records once the case has run).
Phases request_phases(const std::string& text) {
    Phases ph;
    auto t0 = Clock::now();
    auto parsed = parse_command_request(text);
    ph.parse = ms_since(t0);
    if (!parsed) {
        std::fprintf(stderr, "parse failed: %s\n", parsed.error().display().c_str());
        std::exit(1);
    }
    ParsedRequest request = std::move(*parsed);
    RunCaseReq req;
    t0 = Clock::now();
    if (auto f = read_run_case_req(request, req)) {
        std::fprintf(stderr, "read failed: %s\n", f->message.c_str());
        std::exit(1);
    }
    ph.read = ms_since(t0);
    t0 = Clock::now();
    request = ParsedRequest();
    req = RunCaseReq();
    ph.free = ms_since(t0);
    return ph;
}

long peak_rss_kb() {
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

int memory_child(const char* path) {
    // Read into a string of the exact size: no transient copy raises the peak first.
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        std::fseek(f, 0, SEEK_END);
        text.resize(static_cast<std::size_t>(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        if (std::fread(text.data(), 1, text.size(), f) != text.size()) text.clear();
        std::fclose(f);
    }
    long before = peak_rss_kb();
    {
        auto parsed = parse_command_request(text);
        ParsedRequest request = std::move(*parsed);
        RunCaseReq req;
        (void)read_run_case_req(request, req);
        request = ParsedRequest();
    }
    long after = peak_rss_kb();
    std::printf("%ld\n", after - before);
    return 0;
}

#ifdef OSTREL_BENCH_PYTHON
// Best time of orjson.loads(text) (text as a Python str), or a negative figure
// when orjson cannot be imported.
double orjson_loads_ms(const std::string& text, int reps) {
    Py_Initialize();
    PyObject* mod = PyImport_ImportModule("orjson");
    if (mod == nullptr) {
        PyErr_Clear();
        return -1.0;
    }
    PyObject* loads = PyObject_GetAttrString(mod, "loads");
    PyObject* str = PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
    std::vector<double> times;
    for (int r = 0; r < reps; ++r) {
        auto t0 = Clock::now();
        PyObject* v = PyObject_CallOneArg(loads, str);
        if (v == nullptr) {
            PyErr_Print();
            std::exit(1);
        }
        Py_DECREF(v);
        times.push_back(ms_since(t0));
    }
    Py_DECREF(str);
    Py_DECREF(loads);
    Py_DECREF(mod);
    return best(times);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "--memory")) return memory_child(argv[2]);
    std::size_t bars = 200000;
    int reps = 7;
    bool profile_only = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--request-only")) profile_only = true;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--bars")) bars = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--reps")) reps = std::atoi(argv[i + 1]);
    }
    const std::string text = request_text(bars);
    if (profile_only) {
        // The request side alone, for a profiler.
        for (int r = 0; r < reps; ++r) (void)request_phases(text);
        return 0;
    }
    const double mb = static_cast<double>(text.size()) / 1e6;

    // Peak memory of reading, in a fresh process: the growth of the peak resident set
    // in bytes.
    auto reading_peak = [&](const std::string& t) -> double {
        double bytes = -1.0;
        std::string path = "/tmp/request_bench_" + std::to_string(getpid()) + ".json";
        {
            std::ofstream out(path, std::ios::binary);
            out << t;
        }
        std::string cmd = "'" + std::string(argv[0]) + "' --memory '" + path + "'";
        if (FILE* p = popen(cmd.c_str(), "r")) {
            long kb = -1;
            if (std::fscanf(p, "%ld", &kb) == 1) bytes = static_cast<double>(kb) * 1024.0;
            pclose(p);
        }
        std::remove(path.c_str());
        return bytes;
    };
    const double mem_ratio = reading_peak(text) / static_cast<double>(text.size());
    const std::string candles_only = request_text(bars, false);
    const double mem_candles_mb = reading_peak(candles_only) / 1e6;

    std::vector<double> parse, read, fre, whole;
    std::size_t response_size = 0;
    for (int r = 0; r < reps; ++r) {
        Phases ph = request_phases(text);
        parse.push_back(ph.parse);
        read.push_back(ph.read);
        fre.push_back(ph.free);
        auto t0 = Clock::now();
        auto resp = command(text);
        whole.push_back(ms_since(t0));
        response_size = resp ? resp->size() : 0;
    }
    const double p = best(parse), rd = best(read), fr = best(fre), w = best(whole);
    std::vector<double> parse_candles;
    {
        for (int r = 0; r < reps; ++r) parse_candles.push_back(request_phases(candles_only).parse);
    }
    const double request_side = p + rd + fr;
    std::printf("run_case, %zu candles, request %.1f MB, response %.1f MB, best of %d runs\n", bars, mb,
                static_cast<double>(response_size) / 1e6, reps);
    std::printf("  parse                 %8.1f ms\n", p);
    std::printf("    of which the candles %6.1f ms (the same request, expected report empty)\n",
                best(parse_candles));
    std::printf("  read                  %8.1f ms\n", rd);
    std::printf("  free                  %8.1f ms\n", fr);
    std::printf("  request side          %8.1f ms  (%.0f MB/s)\n", request_side, mb / request_side * 1e3);
    std::printf("  rest of the command   %8.1f ms\n", w - request_side);
    std::printf("  whole command         %8.1f ms\n", w);
    if (mem_ratio >= 0) {
        std::printf("  peak memory of reading above the text: %.2fx the text (%.1f MB; %.1f MB with the expected report empty)\n",
                    mem_ratio, mem_ratio * mb, mem_candles_mb);
    }
#ifdef OSTREL_BENCH_PYTHON
    double oj = orjson_loads_ms(text, reps);
    if (oj > 0) {
        std::printf("  orjson.loads          %8.1f ms (same process)\n", oj);
        std::printf("  ratio request side / orjson.loads: %.2f\n", request_side / oj);
        std::printf("  ratio command / orjson.loads:      %.2f\n", w / oj);
    } else {
        std::printf("  (orjson not importable: no ratios)\n");
    }
#else
    std::printf("  (built without Python: no orjson.loads figures)\n");
#endif
    return 0;
}
