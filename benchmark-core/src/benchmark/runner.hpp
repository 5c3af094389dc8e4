// Running one case and a suite of cases.
#pragma once

#include <string>
#include <vector>

#include "benchmark/error.hpp"
#include "benchmark/formats.hpp"
#include "benchmark/worker_pool.hpp"
#include "hash/canonical.hpp"
#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel {

// A case's result. Its JSON object {"hash", "hash_match", "id", "passed",
// "recomputed"} is written once, around the report's canonical text: `text` holds
// room for the head, then the report, then "}"; write_head() puts the head right
// before the report, so the object is text[begin..] and nothing is copied.
struct CaseResult {
    std::string id;
    bool passed = false;
    bool hash_match = false;
    std::string hash;  // 64 lowercase hex characters
    std::string text;
    std::size_t begin = 0;         // first byte of the object in `text`
    std::size_t report_begin = 0;  // first byte of the report in `text`

    // The canonical text of the whole result object.
    std::string_view json() const { return std::string_view(text).substr(begin); }
    // The canonical text of the recomputed report (the text that was hashed).
    std::string_view recomputed() const {
        return std::string_view(text).substr(report_begin, text.size() - report_begin - 1);
    }

    // Bytes to leave in front of the report for the head of a case with this id.
    static std::size_t head_room(std::string_view id);
    // With id, passed, hash_match and hash set, and `text` holding head_room(id)
    // bytes, the report and "}": writes the head and sets begin and report_begin.
    void write_head();
};

struct SuiteResult {
    std::vector<CaseResult> results;  // ascending by id bytes
    std::uint64_t passed = 0;         // results with passed and hash_match
    std::uint64_t failed = 0;
};

// Checks the case, reads and checks its strategy, refuses costs a run cannot honour
// and an empty candle list, runs the strategy over the candles, writes the report as
// canonical JSON, hashes it and compares text and hash with what the case expects.
// Touches no shared mutable state: suites call it from several threads at once.
Expected<CaseResult, BenchmarkError> run_case(const BenchmarkCase& c, const std::vector<Candle>& candles);

// Each case's own checks in list order, then "duplicate case id: X".
std::optional<BenchmarkError> validate_cases(const std::vector<BenchmarkCase>& cases);
// The ids, copied and sorted ascending by bytes.
std::vector<std::string> case_ids(const std::vector<BenchmarkCase>& cases);
// Validates, looks up every dataset before anything runs, runs the cases in parallel
// on the process-wide worker pool, sorts the results by id and counts them. When
// cases fail, the error is that of the failing case first in list order, on any
// number of workers (cases after it are skipped, cases before it finish).
Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets);
// The same on a pool of the caller's choosing.
Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets,
                                                WorkerPool& pool);
// The same, taking the cases over: each case's expected report and strategy are
// freed by its worker once the case has run, so that nothing large is freed on the
// calling thread.
Expected<SuiteResult, BenchmarkError> run_suite(std::vector<BenchmarkCase>&& cases, const Datasets& datasets,
                                                WorkerPool& pool);

// The "run_suite" response {"failed", "passed", "results"}: the results' texts are
// joined into one block by the pool's workers, each result's text released by the
// worker that copied it.
Text suite_response_text(SuiteResult&& result, WorkerPool& pool);

}  // namespace ostrel
