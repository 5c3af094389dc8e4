// Case, suite, candle, dataset and request formats, and the case
// checks (`BenchmarkCase::validate`).
//
// Every reader takes a node of the request tree (and may move subtrees out of it)
// and returns a json::Fault: empty on success, else the reading text, which the
// dispatcher wraps as BenchmarkError::parse.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "benchmark/error.hpp"
#include "indicators/expected.hpp"
#include "indicators/indicator.hpp"
#include "json/parse.hpp"
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
    // Set when the expected report was read straight from the request text into
    // its canonical text (`expected_text`); `expected` then holds an empty object.
    bool expected_is_text = false;
    std::string expected_text;

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

// A request text parsed for reading, its bulk left out of the tree: the candle lists
// of the outermost object's "data" member and of the members of its "datasets"
// object are read straight from the text when they are well-formed arrays of
// candles (every candle as read_candle reads it), and the tree holds null in their
// place. The records read from it are those the tree readers read from the full
// tree, and every fault is the same.
struct ParsedRequest {
    json::Value tree;
    // The tree's "data" member (the last of that key) was read into `data`.
    bool data_taken = false;
    std::vector<Candle> data;
    // Members of the tree's "datasets" object (the last of that key) read into
    // candles, by key; only the last occurrence of a repeated key counts.
    Datasets datasets_taken;
    // Expected reports (the "expected" member of the "case" object, and of the
    // objects in the "suite" object's "cases" array) that are objects, read
    // straight from the text into their canonical text; the tree holds in their
    // place an object no parsed text can give (one member whose key is the byte
    // 0xFF, its value the index here), which the request readers turn into the
    // case's expected_text.
    std::vector<std::string> expected_texts;
};

// Fails exactly as json::parse fails on the same text.
Expected<ParsedRequest, json::ParseError> parse_request(std::string_view text);

// Runs task(i) once for every i in [0, count), possibly on several threads at once,
// and returns when every call has returned.
using ParallelFor = std::function<void(std::size_t count, const std::function<void(std::size_t)>& task)>;

// The same request, its large members read beforehand by parallel tasks: the text
// is searched in `chunks` pieces for the places where a candle list or an expected
// report may start (a member's value that opens an array of arrays or objects; an
// object that is the value of a key "expected"), each such value is read from its
// place by a task of its own, and the parse that follows uses what was read at the
// places where it meets those members, reading the others itself. A place found in
// error (inside a string, an unrelated member) costs its task and nothing else: the
// result is the one parse_request gives, faults and errors included.
Expected<ParsedRequest, json::ParseError> parse_request(std::string_view text, const ParallelFor& parallel_for,
                                                        std::size_t chunks);

// The request readers on a parsed request (records and faults as the tree readers
// give them on json::parse of the same text).
json::Fault read_run_case_req(ParsedRequest& request, RunCaseReq& out);
json::Fault read_run_suite_req(ParsedRequest& request, RunSuiteReq& out);

}  // namespace ostrel
