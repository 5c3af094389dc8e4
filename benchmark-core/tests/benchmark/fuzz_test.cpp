// A seeded random-mutation test of the parser, the request readers and the
// canonical writer: mutated request texts must never crash (the sanitizer build
// runs it too), every parse either fails with a positioned message or gives a
// tree whose canonical text parses again to the same canonical text.
//
// Budget: OSTREL_FUZZ_SECONDS (default 2) or OSTREL_FUZZ_ITERATIONS.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "benchmark/formats.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

using namespace ostrel;
using json::Value;

namespace {

const char* const kSeeds[] = {
    R"({"cmd":"version"})",
    R"({"cmd":"list_cases","suite":{"name":"s","cases":[{"id":"a","description":"d","strategy":{"symbol":"X","indicators":{"f":{"type":"Sma","params":[3]}},"entry":{"gt":["f",1.5e3]},"exit":{"not":{"rising":["f",2]}},"sizing":{"type":"vol_target","target_vol":0.2,"lookback":20}},"dataset_ref":"ds","expected":{"equity":[{"equity":10000.0,"time":1}],"metrics":{"sharpe":-0.25}},"expected_hash":"0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef"}]}})",
    R"({"cmd":"run_case","case":["id","desc",{},"ds",{},"ff"],"data":[[1,2,3,4,5],[6,7.5,8e-3,-9,10,11],{"time":-5,"open":1,"high":2,"low":0.5,"close":1.5,"volume":null}]})",
    R"({"cmd":"run_suite","datasets":{"ds":[[1700000000000,101.25,102.5,100.75,101.5,1234.5]],"ETH":[]},"suite":["n",[]]})",
    R"(["\u00e9\ud83d\ude00\n\t\\\"",-0,18446744073709551616,-9223372036854775809,1e-400,0.1e1,true,false,null,{}])",
    R"({"a":{"b":{"c":[[[[{"d":"\u0000"}]]]]}},"a":1,"B":2,"ab":3})",
};

std::string mutate(std::string s, std::mt19937_64& rng, const std::vector<std::string>& corpus) {
    static const char kBytes[] = "{}[]:,\"\\0123456789-+.eEtrufalsn \n\t\x01\x7f\xc3\xa9\xff\xed";
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % (n == 0 ? 1 : n)); };
    int rounds = 1 + static_cast<int>(rng() % 4);
    for (int r = 0; r < rounds; ++r) {
        switch (rng() % 7) {
            case 0:  // flip a byte
                if (!s.empty()) s[pick(s.size())] = static_cast<char>(rng() & 0xFF);
                break;
            case 1:  // insert a structural byte
                s.insert(s.begin() + static_cast<std::ptrdiff_t>(pick(s.size() + 1)), kBytes[pick(sizeof kBytes - 1)]);
                break;
            case 2:  // delete a range
                if (!s.empty()) {
                    std::size_t at = pick(s.size());
                    s.erase(at, 1 + pick(8));
                }
                break;
            case 3: {  // duplicate a range
                if (!s.empty()) {
                    std::size_t at = pick(s.size());
                    std::size_t n = 1 + pick(32);
                    std::string part = s.substr(at, n);
                    s.insert(pick(s.size() + 1), part);
                }
                break;
            }
            case 4: {  // splice a piece of another input
                const std::string& o = corpus[pick(corpus.size())];
                if (!o.empty()) {
                    std::size_t at = pick(o.size());
                    s.insert(pick(s.size() + 1), o.substr(at, 1 + pick(64)));
                }
                break;
            }
            case 5:  // truncate
                if (!s.empty()) s.resize(pick(s.size()));
                break;
            default: {  // deep nesting
                std::size_t depth = 100 + pick(60);
                s.insert(pick(s.size() + 1), std::string(depth, rng() % 2 ? '[' : '{'));
                break;
            }
        }
    }
    return s;
}

void exercise(const std::string& text) {
    auto parsed = json::parse(text);
    if (!parsed) {
        std::string d = parsed.error().display();
        ASSERT_NE(d.find(" at line "), std::string::npos) << d;
        return;
    }
    Value tree = *parsed;
    std::string canon = *canonical_json(tree);
    auto again = json::parse(canon);
    ASSERT_TRUE(again.has_value()) << canon;
    ASSERT_EQ(*canonical_json(*again), canon);
    // Every request reader on the tree and on each of its members.
    {
        Value t = tree;
        RunCaseReq r;
        (void)read_run_case_req(t, r);
    }
    {
        Value t = tree;
        RunSuiteReq r;
        (void)read_run_suite_req(t, r);
    }
    {
        Value t = tree;
        ListCasesReq r;
        (void)read_list_cases_req(t, r);
    }
    if (tree.is_object()) {
        for (json::Member& m : tree.as_object()) {
            Value a = m.value, b = m.value, c = m.value, d = m.value;
            BenchmarkCase bc;
            Suite s;
            std::vector<Candle> cs;
            Datasets ds;
            (void)read_case(a, bc);
            (void)read_suite(b, s);
            (void)read_candles(c, cs);
            (void)read_datasets(d, ds);
            (void)json::describe(m.value);
        }
    }
}

}  // namespace

TEST(Fuzz, MutatedRequests) {
    double seconds = 2.0;
    long long max_iterations = -1;
    if (const char* s = std::getenv("OSTREL_FUZZ_SECONDS")) seconds = std::atof(s);
    if (const char* s = std::getenv("OSTREL_FUZZ_ITERATIONS")) max_iterations = std::atoll(s);
    std::vector<std::string> corpus(std::begin(kSeeds), std::end(kSeeds));
    for (const std::string& s : corpus) exercise(s);
    std::mt19937_64 rng(20261206);
    auto start = std::chrono::steady_clock::now();
    long long n = 0;
    for (;; ++n) {
        if (max_iterations >= 0 && n >= max_iterations) break;
        if (max_iterations < 0 && (n % 256) == 0) {
            std::chrono::duration<double> el = std::chrono::steady_clock::now() - start;
            if (el.count() >= seconds) break;
        }
        std::string input = mutate(corpus[rng() % corpus.size()], rng, corpus);
        exercise(input);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "input: " << input;
            return;
        }
        // Keep some parseable mutants as new seeds (bounded corpus).
        if (corpus.size() < 512 && input.size() < 4096 && json::parse(input).has_value()) corpus.push_back(input);
    }
    RecordProperty("iterations", std::to_string(n));
    std::printf("fuzz: %lld inputs\n", n);
}
