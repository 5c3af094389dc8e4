#include <algorithm>
#include <set>
#include <string_view>

#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"

namespace ostrel {

Expected<json::Value, BenchmarkError> CaseResult::to_json() const {
    json::Object o;
    o.insert_or_assign("hash", json::Value::string(hash));
    o.insert_or_assign("hash_match", json::Value::boolean(hash_match));
    o.insert_or_assign("id", json::Value::string(id));
    o.insert_or_assign("passed", json::Value::boolean(passed));
    o.insert_or_assign("recomputed", recomputed);
    return json::Value::object(std::move(o));
}

std::optional<BenchmarkError> validate_cases(const std::vector<BenchmarkCase>& cases) {
    std::set<std::string_view> seen;
    for (const BenchmarkCase& c : cases) {
        if (auto e = c.validate()) return e;
        if (!seen.insert(c.id).second) return BenchmarkError::invalid_case("duplicate case id: " + c.id);
    }
    return std::nullopt;
}

std::vector<std::string> case_ids(const std::vector<BenchmarkCase>& cases) {
    std::vector<std::string> ids;
    ids.reserve(cases.size());
    for (const BenchmarkCase& c : cases) ids.push_back(c.id);
    std::stable_sort(ids.begin(), ids.end());
    return ids;
}

Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets) {
    return run_suite(cases, datasets, global_worker_pool());
}

Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets,
                                                WorkerPool& pool) {
    if (auto e = validate_cases(cases)) return *e;
    // Every dataset is looked up before any case runs.
    std::vector<const std::vector<Candle>*> data;
    data.reserve(cases.size());
    for (const BenchmarkCase& c : cases) {
        auto it = datasets.find(c.dataset_ref);
        if (it == datasets.end()) return BenchmarkError::data("no dataset supplied for " + c.dataset_ref);
        data.push_back(&it->second);
    }
    // One task per case on the process-wide pool, each with its own copy of the
    // candles; the first error stored wins and cases not yet started are skipped.
    auto ran = run_all<CaseResult, BenchmarkError>(pool, cases.size(), [&](std::size_t i) {
        std::vector<Candle> candles = *data[i];
        return run_case(cases[i], candles);
    });
    if (!ran) return std::move(ran).error();
    SuiteResult out;
    out.results = std::move(*ran);
    std::stable_sort(out.results.begin(), out.results.end(),
                     [](const CaseResult& a, const CaseResult& b) { return a.id < b.id; });
    for (const CaseResult& r : out.results) {
        if (r.passed && r.hash_match) ++out.passed;
    }
    out.failed = out.results.size() - out.passed;
    return out;
}

}  // namespace ostrel
