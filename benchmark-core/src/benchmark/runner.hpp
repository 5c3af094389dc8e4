// Running one case (Part 3.101) and a suite (Part 4.103).
//
// The engine arrives with issue 5: run_case and the worker pool of run_suite are
// placeholders until then (runner.cpp). Everything around them (case checks,
// duplicate ids, dataset lookup, result order and counts, the JSON of the results)
// is final.
#pragma once

#include <string>
#include <vector>

#include "benchmark/error.hpp"
#include "benchmark/formats.hpp"
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

// Part 3.101. (Issue 5: the engine.)
Expected<CaseResult, BenchmarkError> run_case(const BenchmarkCase& c, const std::vector<Candle>& candles);

// Part 4.103: each case's own checks in list order, then "duplicate case id: X".
std::optional<BenchmarkError> validate_cases(const std::vector<BenchmarkCase>& cases);
// The ids, copied and sorted ascending by bytes.
std::vector<std::string> case_ids(const std::vector<BenchmarkCase>& cases);
// Part 4.103: validate, look up every dataset before anything runs, run the cases,
// sort the results by id, count.
Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets);

}  // namespace ostrel
