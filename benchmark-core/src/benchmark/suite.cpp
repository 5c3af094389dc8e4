#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>

#include "benchmark/runner.hpp"
#include "benchmark/worker_pool.hpp"
#include "hash/canonical.hpp"

namespace ostrel {

namespace suite_detail {

constexpr std::string_view kHashKey = "{\"hash\":\"";
constexpr std::string_view kHashMatchKey = "\",\"hash_match\":";
constexpr std::string_view kIdKey = ",\"id\":";
constexpr std::string_view kPassedKey = ",\"passed\":";
constexpr std::string_view kRecomputedKey = ",\"recomputed\":";

std::size_t json_string_size(std::string_view s) {
    std::string t;
    write_json_string(t, s);
    return t.size();
}

// Below this size a suite's response is joined on the calling thread: handing the
// copies to the workers would cost more than the copies.
constexpr std::size_t kSerialJoin = std::size_t{1} << 20;

}  // namespace suite_detail

std::size_t CaseResult::head_room(std::string_view id) {
    using namespace suite_detail;
    return kHashKey.size() + 64 + kHashMatchKey.size() + 5 + kIdKey.size() + json_string_size(id) +
           kPassedKey.size() + 5 + kRecomputedKey.size();
}

void CaseResult::write_head() {
    using namespace suite_detail;
    std::string head;
    head.reserve(head_room(id));
    head += kHashKey;
    head += hash;
    head += kHashMatchKey;
    head += hash_match ? "true" : "false";
    head += kIdKey;
    write_json_string(head, id);
    head += kPassedKey;
    head += passed ? "true" : "false";
    head += kRecomputedKey;
    begin = report_begin - head.size();
    text.replace(begin, head.size(), head);
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

namespace suite_detail {

// The suite run on `pool`; with `owned` set, each case's strategy and expected
// report are freed by its worker once the case has run, so that the request's
// large texts go while the other cases run rather than all at the end.
Expected<SuiteResult, BenchmarkError> run_suite_on(const std::vector<BenchmarkCase>& cases, const Datasets& datasets,
                                                   WorkerPool& pool, std::vector<BenchmarkCase>* owned) {
    if (auto e = validate_cases(cases)) return *e;
    // Every dataset is looked up before any case runs.
    std::vector<const std::vector<Candle>*> data;
    data.reserve(cases.size());
    for (const BenchmarkCase& c : cases) {
        auto it = datasets.find(c.dataset_ref);
        if (it == datasets.end()) return BenchmarkError::data("no dataset supplied for " + c.dataset_ref);
        data.push_back(&it->second);
    }
    // One task per case. The runs read the datasets' candles in place: nothing
    // writes them while the suite runs, so a copy per case would only cost its
    // pages. The error of the failing case first in list order is the result;
    // cases after it are skipped.
    auto ran = run_all<CaseResult, BenchmarkError>(pool, cases.size(), [&](std::size_t i) {
        Expected<CaseResult, BenchmarkError> r = run_case(cases[i], *data[i]);
        if (owned != nullptr) {
            BenchmarkCase& done = (*owned)[i];
            done.expected = json::Value();
            std::string().swap(done.expected_text);
            done.strategy = json::Value();
        }
        return r;
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

}  // namespace suite_detail

Expected<SuiteResult, BenchmarkError> run_suite(const std::vector<BenchmarkCase>& cases, const Datasets& datasets,
                                                WorkerPool& pool) {
    return suite_detail::run_suite_on(cases, datasets, pool, nullptr);
}

Expected<SuiteResult, BenchmarkError> run_suite(std::vector<BenchmarkCase>&& cases, const Datasets& datasets,
                                                WorkerPool& pool) {
    return suite_detail::run_suite_on(cases, datasets, pool, &cases);
}

Text suite_response_text(SuiteResult&& result, WorkerPool& pool) {
    std::string head = "{\"failed\":";
    head += std::to_string(result.failed);
    head += ",\"passed\":";
    head += std::to_string(result.passed);
    head += ",\"results\":[";
    std::vector<CaseResult>& rs = result.results;
    const std::size_t n = rs.size();
    // Where each result's text goes: the results in order, separated by ",".
    std::vector<std::size_t> at(n);
    std::size_t pos = head.size();
    for (std::size_t i = 0; i < n; ++i) {
        at[i] = pos;
        pos += rs[i].json().size() + (i + 1 < n ? 1 : 0);
    }
    const std::size_t total = pos + 2;
    if (total < suite_detail::kSerialJoin || pool.size() == 0) {
        std::string out = std::move(head);
        out.reserve(total);
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0) out.push_back(',');
            out += rs[i].json();
        }
        out += "]}";
        return Text(std::move(out));
    }
    Text text = Text::raw(total);
    char* d = text.raw_data();
    std::memcpy(d, head.data(), head.size());
    pool.run(n, [&](std::size_t i) {
        std::string_view j = rs[i].json();
        std::memcpy(d + at[i], j.data(), j.size());
        if (i + 1 < n) d[at[i] + j.size()] = ',';
        std::string().swap(rs[i].text);
    });
    std::memcpy(d + pos, "]}", 2);
    return text;
}

}  // namespace ostrel
