#include "benchmark/formats.hpp"

#include <cstdint>

#include "benchmark/record_shapes.hpp"
#include "json/read.hpp"

namespace ostrel {

using json::Fault;
using json::Value;

std::optional<BenchmarkError> BenchmarkCase::validate() const {
    if (id.empty()) return BenchmarkError::invalid_case("case id must not be empty");
    if (dataset_ref.empty()) return BenchmarkError::invalid_case("dataset_ref must not be empty");
    bool hash_ok = expected_hash.size() == 64;
    if (hash_ok) {
        for (char c : expected_hash) {
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
                hash_ok = false;
                break;
            }
        }
    }
    if (!hash_ok) {
        return BenchmarkError::invalid_case("expected_hash must be 64 lowercase hex characters, got " +
                                            json::debug_quote(expected_hash));
    }
    if (!expected.is_object()) {
        return BenchmarkError::invalid_case("expected must be a JSON object (a BacktestReport)");
    }
    if (!strategy.is_object()) {
        return BenchmarkError::invalid_strategy_spec("strategy must be a JSON object (a StrategySpec)");
    }
    return std::nullopt;
}

namespace formats_detail {

Fault read_request(Value& request, const RecordShape& shape, json::FieldReader read_field) {
    if (!request.is_object()) return json::invalid_type(request, shape.name);
    return json::read_record_object_with(request.as_object(), shape, read_field);
}

}  // namespace formats_detail

Fault read_case(Value& v, BenchmarkCase& out) {
    out = BenchmarkCase{};
    return json::read_record(v, formats_detail::kCaseShape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return json::read_string(x, out.id);
            case 1: return json::read_string(x, out.description);
            case 2: return json::read_any(x, out.strategy);
            case 3: return json::read_string(x, out.dataset_ref);
            case 4: return json::read_any(x, out.expected);
            default: return json::read_string(x, out.expected_hash);
        }
    });
}

Fault read_cases(Value& v, std::vector<BenchmarkCase>& out) {
    out.clear();
    if (v.is_array()) out.reserve(v.as_array().size());
    return json::read_seq(v, [&](std::size_t, Value& x) -> Fault {
        BenchmarkCase c;
        if (Fault f = read_case(x, c)) return f;
        out.push_back(std::move(c));
        return {};
    });
}

Fault read_suite(Value& v, Suite& out) {
    out = Suite{};
    return json::read_record(v, formats_detail::kSuiteShape, [&](std::size_t i, Value& x) -> Fault {
        if (i == 0) return json::read_string(x, out.name);
        return read_cases(x, out.cases);
    });
}

namespace formats_detail {

inline Fault candle_field(std::size_t i, Value& x, Candle& c) {
    switch (i) {
        case 0: return json::read_i64(x, c.time);
        case 1: return json::read_f64(x, c.open);
        case 2: return json::read_f64(x, c.high);
        case 3: return json::read_f64(x, c.low);
        case 4: return json::read_f64(x, c.close);
        default: return json::read_f64(x, c.volume);
    }
}

// The array form with its six numbers in place: the common case, read without
// the general record machinery.
inline bool fast_candle_array(const Value& v, Candle& c) {
    const json::Array& a = v.as_array();
    if (a.size() != 5 && a.size() != 6) return false;
    if (!a[0].is_integer() || (a[0].is_uint() && a[0].as_uint() > 9223372036854775807ULL)) return false;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (!a[i].is_number()) return false;
    }
    c.time = a[0].is_uint() ? static_cast<std::int64_t>(a[0].as_uint()) : a[0].as_int();
    c.open = a[1].to_f64();
    c.high = a[2].to_f64();
    c.low = a[3].to_f64();
    c.close = a[4].to_f64();
    c.volume = a.size() == 6 ? a[5].to_f64() : 0.0;
    return true;
}

}  // namespace formats_detail

Fault read_candle(Value& v, Candle& out) {
    out = Candle{};
    if (v.is_array() && formats_detail::fast_candle_array(v, out)) return {};
    return json::read_record(v, formats_detail::kCandleShape, [&](std::size_t i, Value& x) -> Fault {
        return formats_detail::candle_field(i, x, out);
    });
}

Fault read_candles(Value& v, std::vector<Candle>& out) {
    out.clear();
    if (!v.is_array()) return json::invalid_type(v, "a sequence");
    json::Array& a = v.as_array();
    out.resize(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fault f = read_candle(a[i], out[i])) {
            out.clear();
            return f;
        }
        a[i] = Value();  // release the node as soon as it is read
    }
    return {};
}

Fault read_datasets(Value& v, Datasets& out) {
    out.clear();
    return json::read_map(v, [&](const std::string& key, Value& x) -> Fault {
        std::vector<Candle> candles;
        if (Fault f = read_candles(x, candles)) return f;
        out.emplace_hint(out.end(), key, std::move(candles));
        return {};
    });
}

Fault read_run_case_req(Value& request, RunCaseReq& out) {
    out = RunCaseReq{};
    auto rd = [&](std::size_t i, Value& x) -> Fault {
        if (i == 0) return read_case(x, out.case_);
        return read_candles(x, out.data);
    };
    return formats_detail::read_request(request, formats_detail::kRunCaseShape, rd);
}

Fault read_run_suite_req(Value& request, RunSuiteReq& out) {
    out = RunSuiteReq{};
    auto rd = [&](std::size_t i, Value& x) -> Fault {
        if (i == 0) return read_suite(x, out.suite);
        return read_datasets(x, out.datasets);
    };
    return formats_detail::read_request(request, formats_detail::kRunSuiteShape, rd);
}

Fault read_list_cases_req(Value& request, ListCasesReq& out) {
    out = ListCasesReq{};
    auto rd = [&](std::size_t, Value& x) -> Fault { return read_suite(x, out.suite); };
    return formats_detail::read_request(request, formats_detail::kListCasesShape, rd);
}

}  // namespace ostrel
