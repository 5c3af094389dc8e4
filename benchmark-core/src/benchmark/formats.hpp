// Case, suite, candle, dataset and request formats, and the case
// checks (`BenchmarkCase::validate`).
//
// Every reader takes a node of the request tree (and may move subtrees out of it)
// and returns a json::Fault: empty on success, else the reading text, which the
// dispatcher wraps as BenchmarkError::parse.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "benchmark/error.hpp"
#include "indicators/indicator.hpp"
#include "json/read.hpp"
#include "json/value.hpp"

namespace ostrel {

struct BenchmarkCase {
    std::string id;
    std::string description;
    json::Value strategy;  // any JSON value; must be an object to pass the checks
    std::string dataset_ref;
    json::Value expected;  // any JSON value; must be an object to pass the checks
    std::string expected_hash;

    // The case checks, in order; the first failure is returned.
    std::optional<BenchmarkError> validate() const;
};

struct Suite {
    std::string name;  // read, never used
    std::vector<BenchmarkCase> cases;
};

// Dataset name (exact bytes) to its candles, ordered by the bytes of the names.
using Datasets = std::map<std::string, std::vector<Candle>>;

struct RunCaseReq {
    BenchmarkCase case_;
    std::vector<Candle> data;
};

struct RunSuiteReq {
    Suite suite;
    Datasets datasets;
};

struct ListCasesReq {
    Suite suite;
};

// An object of the six members (no other member allowed), or an array of them in
// declaration order: W "struct BenchmarkCase" / "struct BenchmarkCase with 6 elements".
json::Fault read_case(json::Value& v, BenchmarkCase& out);
// An array of cases: W "a sequence".
json::Fault read_cases(json::Value& v, std::vector<BenchmarkCase>& out);
// {name?, cases} or [name, cases]: W "struct Suite" / "struct Suite with 2 elements".
json::Fault read_suite(json::Value& v, Suite& out);
// One candle: {time, open, high, low, close, volume?} or [t, o, h, l, c, v?].
json::Fault read_candle(json::Value& v, Candle& out);
// An array of candles: W "a sequence".
json::Fault read_candles(json::Value& v, std::vector<Candle>& out);
// An object of candle lists: W "a map".
json::Fault read_datasets(json::Value& v, Datasets& out);

// The request records: the request object's members in key-byte order, then the
// missing required ones ("case" before "data"). Other members, "cmd" among them,
// are ignored.
json::Fault read_run_case_req(json::Value& request, RunCaseReq& out);
json::Fault read_run_suite_req(json::Value& request, RunSuiteReq& out);
json::Fault read_list_cases_req(json::Value& request, ListCasesReq& out);

}  // namespace ostrel
