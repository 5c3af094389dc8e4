// Running one case and a suite of cases.
#pragma once

#include <string>
#include <vector>

#include "benchmark/error.hpp"
#include "benchmark/formats.hpp"
#include "benchmark/worker_pool.hpp"
#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel {

struct CaseResult {
    std::string id;
    bool passed = false;
    bool hash_match = false;
    json::Value recomputed;  // the report object that was written and hashed
    std::string hash;        // 64 lowercase hex characters

    // {"hash", "hash_match", "id", "passed", "recomputed"}.
    Expected<json::Value, BenchmarkError> to_json() const;
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
// on the process-wide worker pool, sorts the results by id and counts them.
Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets);
// The same on a pool of the caller's choosing.
Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets,
                                                WorkerPool& pool);

}  // namespace ostrel
