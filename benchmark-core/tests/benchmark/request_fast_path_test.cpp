// The request read with its candle lists straight from the text (parse_request and
// its readers) against the tree path (json::parse and the tree readers), on random
// requests and mutations of them, valid and invalid: the same parse error, or the
// same fault or the same records, bit for bit, for every request reader.
//
// Budget: OSTREL_FUZZ_SECONDS (default 2) or OSTREL_FUZZ_ITERATIONS.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "benchmark/formats.hpp"
#include "hash/canonical.hpp"
#include "support/text_gen.hpp"
#include "json/parse.hpp"

using namespace ostrel;
using json::Value;

namespace {

// Structural equality with floats compared by their bits (-0.0 is not 0.0).
bool same(const Value& a, const Value& b) {
    if (a.kind() != b.kind()) return false;
    switch (a.kind()) {
        case Value::Kind::Null: return true;
        case Value::Kind::Bool: return a.as_bool() == b.as_bool();
        case Value::Kind::UInt: return a.as_uint() == b.as_uint();
        case Value::Kind::Int: return a.as_int() == b.as_int();
        case Value::Kind::Float:
            return std::bit_cast<std::uint64_t>(a.as_float()) == std::bit_cast<std::uint64_t>(b.as_float());
        case Value::Kind::String: return a.as_string() == b.as_string();
        case Value::Kind::Array: {
            const json::Array& x = a.as_array();
            const json::Array& y = b.as_array();
            if (x.size() != y.size()) return false;
            for (std::size_t i = 0; i < x.size(); ++i) {
                if (!same(x[i], y[i])) return false;
            }
            return true;
        }
        case Value::Kind::Object: {
            const json::Object& x = a.as_object();
            const json::Object& y = b.as_object();
            if (x.size() != y.size()) return false;
            for (std::size_t i = 0; i < x.size(); ++i) {
                if (x[i].key != y[i].key || !same(x[i].value, y[i].value)) return false;
            }
            return true;
        }
    }
    return false;
}

bool same_bits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool same(const std::vector<Candle>& a, const std::vector<Candle>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Candle& x = a[i];
        const Candle& y = b[i];
        if (x.time != y.time || !same_bits(x.open, y.open) || !same_bits(x.high, y.high) ||
            !same_bits(x.low, y.low) || !same_bits(x.close, y.close) || !same_bits(x.volume, y.volume)) {
            return false;
        }
    }
    return true;
}

// The expected report as the comparison sees it: its canonical text, taken from the
// text or written from the tree.
std::string expected_text(const BenchmarkCase& c) {
    return c.expected_is_text ? c.expected_text : *canonical_json(c.expected);
}

// b read through the fast path: an expected report taken from the text must have
// been an object in the tree path, with the same canonical text.
bool same(const BenchmarkCase& a, const BenchmarkCase& b) {
    const bool expected_same = b.expected_is_text
                                   ? a.expected.is_object() && b.expected.is_object() &&
                                         b.expected.as_object().size() == 0 && expected_text(a) == expected_text(b)
                                   : !a.expected_is_text && same(a.expected, b.expected);
    return a.id == b.id && a.description == b.description && same(a.strategy, b.strategy) &&
           a.dataset_ref == b.dataset_ref && expected_same && a.expected_hash == b.expected_hash;
}

// list_cases reads the fast path's tree, where a taken expected report stands as an
// object of its own: only its being an object may matter.
bool same_listed(const BenchmarkCase& a, const BenchmarkCase& b) {
    return a.id == b.id && a.description == b.description && same(a.strategy, b.strategy) &&
           a.dataset_ref == b.dataset_ref && a.expected.is_object() == b.expected.is_object() &&
           (a.expected.is_object() || same(a.expected, b.expected)) && a.expected_hash == b.expected_hash;
}

bool same(const Suite& a, const Suite& b) {
    if (a.name != b.name || a.cases.size() != b.cases.size()) return false;
    for (std::size_t i = 0; i < a.cases.size(); ++i) {
        if (!same(a.cases[i], b.cases[i])) return false;
    }
    return true;
}

bool same_listed(const Suite& a, const Suite& b) {
    if (a.name != b.name || a.cases.size() != b.cases.size()) return false;
    for (std::size_t i = 0; i < a.cases.size(); ++i) {
        if (!same_listed(a.cases[i], b.cases[i])) return false;
    }
    return true;
}

std::string fault_text(const json::Fault& f) { return f ? f->message : "ok"; }

// ---- random requests ---------------------------------------------------------

class Gen : public text_gen::Choices {
public:
    using Choices::Choices;

    std::string ws() {
        static const char* const kWs[] = {"", "", "", " ", "\n", " \t", "\r\n  "};
        return kWs[pick(7)];
    }

    std::string number() {
        switch (pick(15)) {
            case 0: return std::to_string(pick(1000));
            case 1: return "-" + std::to_string(1 + pick(1000));
            case 2: return "1700000000000";
            case 3: return chance(50) ? "-0" : "-0.0";
            case 4: return digits(20, true);  // may exceed u64
            case 5: return "-" + digits(19, true);  // may fall below i64
            case 6: return chance(50) ? "9223372036854775807" : "9223372036854775808";
            case 7: return chance(50) ? "1e400" : "-1e-400";
            case 8: return chance(50) ? "0.1e1" : "1E+2";
            case 9: return "18446744073709551615";
            case 10: return (chance(50) ? "0." : "-0.") + digits(1 + pick(19), false);
            default: {
                // A price: 1 to 20 significant digits, an optional exponent.
                std::string s = chance(20) ? "-" : "";
                std::size_t total = 1 + pick(20);
                std::size_t whole = 1 + pick(total);
                s += digits(whole, true);
                if (whole < total) s += "." + digits(total - whole, false);
                if (chance(15)) s += (chance(50) ? "e" : "E") + std::string(chance(50) ? "-" : "") + std::to_string(pick(40));
                return s;
            }
        }
    }

    std::string scalar() {
        switch (pick(12)) {
            case 0: return "null";
            case 1: return "true";
            case 2: return "\"x\"";
            case 3: return "[]";
            case 4: return "{}";
            default: return number();
        }
    }

    std::string candle() {
        if (chance(70)) {
            std::size_t n = chance(90) ? 5 + pick(2) : pick(8);
            std::string s = "[" + ws();
            for (std::size_t i = 0; i < n; ++i) {
                if (i) s += ws() + "," + ws();
                s += chance(95) ? (i == 0 ? (chance(80) ? std::to_string(1700000000000LL + static_cast<long long>(pick(1000)))
                                                         : number())
                                          : number())
                                : scalar();
            }
            return s + ws() + "]";
        }
        static const char* const kKeys[] = {"time", "open", "high", "low", "close", "volume"};
        std::vector<std::string> keys;
        for (const char* k : kKeys) {
            if (chance(92)) keys.push_back(k);
        }
        if (chance(5)) keys.push_back("time");
        if (chance(5)) keys.push_back("extra");
        if (chance(3)) keys.push_back("ti\\u006de");
        for (std::size_t i = keys.size(); i > 1; --i) std::swap(keys[i - 1], keys[pick(i)]);
        std::string s = "{" + ws();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i) s += ws() + "," + ws();
            s += "\"" + keys[i] + "\"" + ws() + ":" + ws();
            s += chance(95) ? (keys[i] == "time" && chance(80) ? std::to_string(pick(100000)) : number()) : scalar();
        }
        return s + ws() + "}";
    }

    std::string candles() {
        if (chance(4)) return scalar();
        std::size_t n = pick(5);
        std::string s = "[" + ws();
        for (std::size_t i = 0; i < n; ++i) {
            if (i) s += ws() + "," + ws();
            s += candle();
        }
        if (n > 0 && chance(3)) s += ",";
        return s + ws() + "]";
    }

    std::string case_object(const std::string& id) {
        std::string strategy = chance(80) ? "{\"symbol\":\"X\",\"data\":[[1,2,3,4,5]]}" : scalar();
        std::string expected;
        switch (pick(6)) {
            case 0: expected = scalar(); break;
            case 1:
                expected = "{\"trades\":[]," + ws() + "\"equity\":[{\"time\":" + number() + ",\"equity\":" + number() +
                           "}],\"symbol\":\"\\u0041\",\"equity\":" + scalar() + "}";
                break;
            default:
                expected = "{\"equity\":[{\"equity\":" + number() + ",\"time\":" + number() + "}]}";
                break;
        }
        std::string members[] = {"\"id\":\"" + id + "\"", "\"description\":\"d\"", "\"strategy\":" + strategy,
                                 "\"dataset_ref\":\"" + std::string(chance(50) ? "a" : "b") + "\"",
                                 "\"expected\":" + expected, "\"expected_hash\":\"" + std::string(64, 'a') + "\""};
        std::string s = "{";
        std::size_t n = chance(90) ? 6 : pick(6);
        for (std::size_t i = 0; i < n; ++i) {
            if (i) s += ",";
            s += members[i];
        }
        if (chance(5)) s += ",\"data\":[]";
        return s + "}";
    }

    std::string datasets() {
        if (chance(5)) return candles();
        std::string s = "{" + ws();
        std::size_t n = pick(4);
        for (std::size_t i = 0; i < n; ++i) {
            if (i) s += ws() + "," + ws();
            static const char* const kNames[] = {"a", "b", "a", "\\u0061", "c"};
            s += "\"" + std::string(kNames[pick(5)]) + "\"" + ws() + ":" + ws() + candles();
        }
        return s + ws() + "}";
    }

    std::string request() {
        static const char* const kCmds[] = {"run_case", "run_suite", "list_cases", "version"};
        std::vector<std::string> members;
        members.push_back("\"cmd\"" + ws() + ":" + ws() + "\"" + kCmds[pick(4)] + "\"");
        if (chance(85)) members.push_back("\"case\":" + case_object("c" + std::to_string(pick(3))));
        if (chance(90)) members.push_back("\"data\"" + ws() + ":" + ws() + candles());
        if (chance(10)) members.push_back("\"data\":" + candles());
        if (chance(70)) members.push_back("\"datasets\":" + datasets());
        if (chance(10)) members.push_back("\"datasets\":" + datasets());
        if (chance(70)) {
            std::string cases = "[";
            std::size_t n = pick(3);
            for (std::size_t i = 0; i < n; ++i) cases += (i ? "," : "") + case_object("s" + std::to_string(pick(3)));
            members.push_back("\"suite\":{\"name\":\"n\",\"cases\":" + cases + "]}");
        }
        if (chance(10)) members.push_back("\"other\":{\"data\":" + candles() + "}");
        for (std::size_t i = members.size(); i > 1; --i) std::swap(members[i - 1], members[pick(i)]);
        std::string s = ws() + "{" + ws();
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (i) s += ws() + "," + ws();
            s += members[i];
        }
        return s + ws() + "}" + ws();
    }

    std::string mutate(std::string s) {
        return Choices::mutate(std::move(s), "{}[]:,\"\\0123456789-+.eE \n\x01\xc3\xff");
    }

};

// One text through both paths; a description of the first difference, or "".
// The request read by parse_request, or, with chunks > 0, with its large members
// read ahead in that many pieces (the tasks run here, last index first: any order
// must do).
Expected<ParsedRequest, json::ParseError> read_fast(const std::string& text, std::size_t chunks) {
    if (chunks == 0) return parse_request(text);
    auto backwards = [](std::size_t n, const std::function<void(std::size_t)>& task) {
        for (std::size_t i = n; i-- > 0;) task(i);
    };
    return parse_request(text, backwards, chunks);
}

std::string compare(const std::string& text, std::size_t chunks = 0) {
    auto exact = json::parse(text);
    auto fast = read_fast(text, chunks);
    if (!exact) {
        if (fast) return "the fast path parsed a text the parser refuses";
        if (!(fast.error() == exact.error())) return "parse errors differ: " + fast.error().display() + " vs " +
                                                      exact.error().display();
        return "";
    }
    if (!fast) return "the fast path refused a text the parser takes: " + fast.error().display();
    const Value* c1 = exact->find("cmd");
    const Value* c2 = fast->tree.find("cmd");
    if ((c1 == nullptr) != (c2 == nullptr) || (c1 != nullptr && !same(*c1, *c2))) return "cmd differs";
    {
        Value tree = *exact;
        RunCaseReq a;
        json::Fault fa = read_run_case_req(tree, a);
        ParsedRequest pr = *read_fast(text, chunks);
        RunCaseReq b;
        json::Fault fb = read_run_case_req(pr, b);
        if (fault_text(fa) != fault_text(fb)) return "run_case faults differ: " + fault_text(fb) + " vs " + fault_text(fa);
        if (!fa && (!same(a.case_, b.case_) || !same(a.data, b.data))) return "run_case records differ";
    }
    {
        Value tree = *exact;
        RunSuiteReq a;
        json::Fault fa = read_run_suite_req(tree, a);
        ParsedRequest pr = *read_fast(text, chunks);
        RunSuiteReq b;
        json::Fault fb = read_run_suite_req(pr, b);
        if (fault_text(fa) != fault_text(fb)) {
            return "run_suite faults differ: " + fault_text(fb) + " vs " + fault_text(fa);
        }
        if (!fa) {
            if (!same(a.suite, b.suite) || a.datasets.size() != b.datasets.size()) return "run_suite records differ";
            for (auto ia = a.datasets.begin(), ib = b.datasets.begin(); ia != a.datasets.end(); ++ia, ++ib) {
                if (ia->first != ib->first || !same(ia->second, ib->second)) return "datasets differ";
            }
        }
    }
    {
        Value tree = *exact;
        ListCasesReq a;
        json::Fault fa = read_list_cases_req(tree, a);
        ListCasesReq b;
        json::Fault fb = read_list_cases_req(fast->tree, b);
        if (fault_text(fa) != fault_text(fb)) return "list_cases faults differ";
        if (!fa && !same_listed(a.suite, b.suite)) return "list_cases records differ";
    }
    return "";
}

}  // namespace

TEST(RequestFastPath, HandWrittenEdges) {
    const char* const kTexts[] = {
        R"({"cmd":"run_case","data":[[1,2,3,4,5],[6,7,8,9,10,11]],"case":[]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5]],"data":[{"time":1,"open":2,"high":3,"low":4,"close":5}]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5]],"data":null})",
        R"({"cmd":"run_case","data":null,"data":[[1,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[-0,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[1.0,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[9223372036854775808,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[-9223372036854775808,18446744073709551616,-9223372036854775809,1e-400,0.1e1,5]]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,1e400]]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5],]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5]] ,"x":})",
        R"({"cmd":"run_case","data":[[1,2,3,4]]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5,6,7]]})",
        R"({"cmd":"run_case","data":[{"time":1,"open":2,"high":3,"low":4,"close":5,"volume":null}]})",
        R"({"cmd":"run_case","data":[{"time":1,"time":2,"open":2,"high":3,"low":4,"close":5}]})",
        R"({"cmd":"run_case","data":[{"ti\u006de":1,"open":2,"high":3,"low":4,"close":5}]})",
        R"({"cmd":"run_case","data":[{"open":2,"high":3,"low":4,"close":5}]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5]],"data":[[1,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[01,2,3,4,5]]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5.]]})",
        R"({"cmd":"run_case","data":[[1,2,3,4,5)",
        R"({"cmd":"run_suite","datasets":{"a":[[1,2,3,4,5]],"a":[[6,7,8,9,10]]},"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"a":[[1,2,3,4,5]],"a":null},"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"a":null,"a":[[1,2,3,4,5]]},"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"a":[[1,2,3,4,5]]},"datasets":{"b":[[1,2,3,4,5]]},"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"a":[[1,2,3,4,5]]},"datasets":[],"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"\u0061":[[1,2,3,4,5]],"b":[]},"suite":{"cases":[]}})",
        R"({"cmd":"run_suite","datasets":{"a":[[1,2,3,4,"5"]]},"suite":{"cases":[]}})",
        R"([{"data":[[1,2,3,4,5]]}])",
        // Expected reports taken from the text: repeated keys, other shapes, other places.
        R"({"cmd":"run_case","case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":1,"a":[1.50,-0]},"expected":{"z":{"y":2,"x":1e-400},"z":0},"expected_hash":"h"},"data":[[1,2,3,4,5]]})",
        R"({"cmd":"run_case","case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":1},"expected":[],"expected_hash":"h"}})",
        R"({"cmd":"run_case","case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":[],"expected":{"b":1},"expected_hash":"h"}})",
        R"({"cmd":"run_case","case":{"expected":{"b":1}},"case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":"x","expected_hash":"h"}})",
        R"({"cmd":"run_case","case":["a","",{},"d",{"b":1},"h"],"data":[]})",
        R"({"cmd":"run_case","case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"s":"\ud800"},"expected_hash":"h"}})",
        R"({"cmd":"run_case","case":{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"s":[[[[[[[[[1]]]]]]]]]},"expected_hash":"h"}})",
        R"({"cmd":"run_suite","suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"n":18446744073709551616},"expected_hash":"h"},["b","",{},"d",{"c":1},"h"],{"id":"c","description":"","strategy":{},"dataset_ref":"d","expected":{"\u00e9":"\u0041","e":1},"expected_hash":"h","expected":{"k":2}}]},"datasets":{}})",
        R"({"cmd":"run_suite","suite":{"cases":[{"expected":{"a":1}}],"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2},"expected_hash":"h"}]}})",
        R"({"cmd":"run_suite","suite":{"cases":[[{"expected":{"a":1}}]]}})",
        R"({"cmd":"run_suite","suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2},"expected_hash":"h"}],"cases":{"x":{"expected":{"a":1}}}}})",
        R"({"cmd":"list_cases","suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2},"expected_hash":"h"},{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":3,"expected_hash":"h"}]}})",
        R"({"cmd":"run_suite","suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2},"expected_hash":"h"}]},"suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2} ,"expected_hash":"h",}]}})",
        R"({"cmd":"run_suite","suite":{"cases":[{"id":"a","description":"","strategy":{},"dataset_ref":"d","expected":{"b":2],"expected_hash":"h"}]}})",
        R"({"x":{"data":[[1,2,3,4,5]]},"cmd":"run_case"})",
    };
    for (const char* t : kTexts) {
        for (std::size_t chunks : {0, 1, 2, 7, 64}) EXPECT_EQ(compare(t, chunks), "") << t << " chunks " << chunks;
    }
}

TEST(RequestFastPath, RandomAndMutatedRequests) {
    double seconds = 2.0;
    long long max_iterations = -1;
    if (const char* s = std::getenv("OSTREL_FUZZ_SECONDS")) seconds = std::atof(s);
    if (const char* s = std::getenv("OSTREL_FUZZ_ITERATIONS")) max_iterations = std::atoll(s);
    Gen gen(20261207);
    auto start = std::chrono::steady_clock::now();
    long long n = 0, parsed = 0, taken = 0, expected_taken = 0;
    for (;; ++n) {
        if (max_iterations >= 0 && n >= max_iterations) break;
        if (max_iterations < 0 && (n % 256) == 0) {
            std::chrono::duration<double> el = std::chrono::steady_clock::now() - start;
            if (el.count() >= seconds) break;
        }
        std::string text = gen.request();
        if (gen.chance(50)) text = gen.mutate(std::move(text));
        std::string diff = compare(text);
        ASSERT_EQ(diff, "") << "input: " << text;
        const std::size_t chunks = 1 + gen.pick(9);
        ASSERT_EQ(compare(text, chunks), "") << "input: " << text << " chunks " << chunks;
        if (auto pr = parse_request(text)) {
            ++parsed;
            if (pr->data_taken || !pr->datasets_taken.empty()) ++taken;
            if (!pr->expected_texts.empty()) ++expected_taken;
        }
    }
    // Both paths must be exercised, the candles taken from the text in many inputs.
    EXPECT_GT(taken, n / 10);
    EXPECT_GT(parsed - taken, n / 20);
    EXPECT_GT(expected_taken, n / 10);
    std::printf(
        "request fast path: %lld inputs, %lld well-formed, %lld with candles and %lld with an expected report taken "
        "from the text\n",
        n, parsed, taken, expected_taken);
}
