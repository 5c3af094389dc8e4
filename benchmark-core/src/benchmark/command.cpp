#include "benchmark/command.hpp"

#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

namespace ostrel {

using json::Value;

std::string error_response(const BenchmarkError& e) {
    std::string out = "{\"error\":";
    write_json_string(out, e.display());
    out += ",\"ok\":false}";
    return out;
}

namespace command_detail {

// Requests from this size on are read with the workers' help.
constexpr std::size_t kParallelRead = std::size_t{4} << 20;

// The canonical text of a small response tree.
Expected<Text, BenchmarkError> text_of(const Value& v) {
    auto t = canonical_json(v);
    if (!t) return std::move(t).error();
    return Text(std::move(*t));
}

Expected<Text, BenchmarkError> version_response() {
    json::Object o;
    o.insert_or_assign("engine_version", Value::string(std::string(kLibraryVersion)));
    o.insert_or_assign("version", Value::string(std::string(kLibraryVersion)));
    return text_of(Value::object(std::move(o)));
}

Expected<Text, BenchmarkError> list_cases(Value& request) {
    ListCasesReq req;
    if (json::Fault f = read_list_cases_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = Value();
    if (auto e = validate_cases(req.suite.cases)) return *e;
    json::Array ids;
    for (std::string& id : case_ids(req.suite.cases)) ids.push_back(Value::string(std::move(id)));
    json::Object o;
    o.insert_or_assign("ids", Value::array(std::move(ids)));
    return text_of(Value::object(std::move(o)));
}

Expected<Text, BenchmarkError> run_case_command(ParsedRequest& request) {
    RunCaseReq req;
    if (json::Fault f = read_run_case_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = ParsedRequest();
    auto result = run_case(req.case_, req.data);
    if (!result) return std::move(result).error();
    // The result object's text is the response, used where it was written.
    std::size_t begin = result->begin;
    return Text(std::move(result->text), begin);
}

Expected<Text, BenchmarkError> run_suite_command(ParsedRequest& request) {
    RunSuiteReq req;
    if (json::Fault f = read_run_suite_req(request, req)) return BenchmarkError::parse(std::move(f->message));
    request = ParsedRequest();
    WorkerPool& pool = global_worker_pool();
    auto result = run_suite(std::move(req.suite.cases), req.datasets, pool);
    if (!result) return std::move(result).error();
    return suite_response_text(std::move(*result), pool);
}

}  // namespace command_detail

Expected<ParsedRequest, json::ParseError> parse_command_request(std::string_view text) {
    // A large request's candle lists and expected reports are read by the workers,
    // each from its place in the text, before the parse.
    if (text.size() < command_detail::kParallelRead) return parse_request(text);
    WorkerPool& pool = global_worker_pool();
    if (pool.size() < 2) return parse_request(text);
    return parse_request(
        text, [&](std::size_t n, const std::function<void(std::size_t)>& task) { pool.run(n, task); }, pool.size());
}

namespace command_detail {

Expected<Text, BenchmarkError> run(std::string_view text) {
    // Candle lists and expected reports are read straight from the text.
    auto parsed = parse_command_request(text);
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

Expected<Text, BenchmarkError> command_text(std::string_view request_text) {
    auto r = command_detail::run(request_text);
    if (!r) return Text(error_response(r.error()));
    return r;
}

Expected<std::string, BenchmarkError> command(std::string_view request_text) {
    auto r = command_text(request_text);
    if (!r) return std::move(r).error();
    return std::move(*r).take_string();
}

}  // namespace ostrel
