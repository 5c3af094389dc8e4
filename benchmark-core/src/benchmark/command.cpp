#include "benchmark/command.hpp"

#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

namespace ostrel {

using json::Value;

json::Value error_response(const BenchmarkError& e) {
    json::Object o;
    o.insert_or_assign("error", Value::string(e.display()));
    o.insert_or_assign("ok", Value::boolean(false));
    return Value::object(std::move(o));
}

namespace command_detail {

Expected<Value, BenchmarkError> version_response() {
    json::Object o;
    o.insert_or_assign("engine_version", Value::string(std::string(kLibraryVersion)));
    o.insert_or_assign("version", Value::string(std::string(kLibraryVersion)));
    return Value::object(std::move(o));
}

Expected<Value, BenchmarkError> list_cases(Value& request) {
    ListCasesReq req;
    if (json::Fault f = read_list_cases_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = Value();
    if (auto e = validate_cases(req.suite.cases)) return *e;
    json::Array ids;
    for (std::string& id : case_ids(req.suite.cases)) ids.push_back(Value::string(std::move(id)));
    json::Object o;
    o.insert_or_assign("ids", Value::array(std::move(ids)));
    return Value::object(std::move(o));
}

Expected<Value, BenchmarkError> run_case_command(ParsedRequest& request) {
    RunCaseReq req;
    if (json::Fault f = read_run_case_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = ParsedRequest();
    auto result = run_case(req.case_, req.data);
    if (!result) return std::move(result).error();
    return result->to_json();
}

Expected<Value, BenchmarkError> run_suite_command(ParsedRequest& request) {
    RunSuiteReq req;
    if (json::Fault f = read_run_suite_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = ParsedRequest();
    auto result = run_suite(req.suite.cases, req.datasets);
    if (!result) return std::move(result).error();
    json::Array results;
    results.reserve(result->results.size());
    for (const CaseResult& r : result->results) {
        auto v = r.to_json();
        if (!v) return std::move(v).error();
        results.push_back(std::move(*v));
    }
    json::Object o;
    o.insert_or_assign("failed", Value::uinteger(result->failed));
    o.insert_or_assign("passed", Value::uinteger(result->passed));
    o.insert_or_assign("results", Value::array(std::move(results)));
    return Value::object(std::move(o));
}

Expected<Value, BenchmarkError> run(std::string_view text) {
    // The candle lists are read straight from the text (see parse_request).
    auto parsed = parse_request(text);
    if (!parsed) return BenchmarkError::parse(parsed.error().display());
    ParsedRequest request = std::move(*parsed);
    std::string name;
    if (const Value* cmd = request.tree.find("cmd"); cmd != nullptr && cmd->is_string()) name = cmd->as_string();
    if (name == "version") return version_response();
    if (name == "run_case") return run_case_command(request);
    if (name == "run_suite") return run_suite_command(request);
    if (name == "list_cases") return list_cases(request.tree);
    return BenchmarkError::parse("unknown cmd: " + name);
}

}  // namespace command_detail

json::Value dispatch(std::string_view request_text) {
    auto r = command_detail::run(request_text);
    if (!r) return error_response(r.error());
    return std::move(*r);
}

Expected<std::string, BenchmarkError> command(std::string_view request_text) {
    Value response = dispatch(request_text);
    return canonical_json(response);
}

}  // namespace ostrel
