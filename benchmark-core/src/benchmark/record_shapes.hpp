// The record shapes of the case, suite, candle and request formats, and the reader
// of a request object by its shape: shared by the readers of the request tree
// (formats.cpp) and the readers of request text (request_text.cpp).
#pragma once

#include "json/read.hpp"
#include "json/value.hpp"

namespace ostrel::formats_detail {

using json::Fault;
using json::Field;
using json::RecordShape;
using json::Value;

constexpr Field kCaseFields[] = {{"id", true},          {"description", true}, {"strategy", true},
                                 {"dataset_ref", true}, {"expected", true},    {"expected_hash", true}};
constexpr RecordShape kCaseShape{"struct BenchmarkCase", "struct BenchmarkCase with 6 elements", kCaseFields,
                                 /*deny_unknown=*/true};

constexpr Field kSuiteFields[] = {{"name", false}, {"cases", true}};
constexpr RecordShape kSuiteShape{"struct Suite", "struct Suite with 2 elements", kSuiteFields};

constexpr Field kCandleFields[] = {{"time", true}, {"open", true},  {"high", true},
                                   {"low", true},  {"close", true}, {"volume", false}};
constexpr RecordShape kCandleShape{"struct Candle", "struct Candle with 6 elements", kCandleFields};

constexpr Field kRunCaseFields[] = {{"case", true}, {"data", true}};
constexpr RecordShape kRunCaseShape{"struct RunCaseReq", "struct RunCaseReq with 2 elements", kRunCaseFields};

constexpr Field kRunSuiteFields[] = {{"suite", true}, {"datasets", false}};
constexpr RecordShape kRunSuiteShape{"struct RunSuiteReq", "struct RunSuiteReq with 2 elements", kRunSuiteFields};

constexpr Field kListCasesFields[] = {{"suite", true}};
constexpr RecordShape kListCasesShape{"struct ListCasesReq", "struct ListCasesReq with 1 element",
                                      kListCasesFields};

// The request is always an object here (the dispatcher found "cmd" in it); any
// other value reads as the record's invalid type.
Fault read_request(Value& request, const RecordShape& shape, json::FieldReader read_field);

}  // namespace ostrel::formats_detail
