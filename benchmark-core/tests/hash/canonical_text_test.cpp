// The canonical text read straight from a JSON text (canonical_from_text) against
// the tree path (canonical_json of json::parse): on every input the reader either
// gives exactly the tree path's text and the end of the value the parser reads, or
// declines; it never takes a text the parser refuses. Random values (numbers of
// every shape the parser reads: -0, 1e400, integers beyond 64 bits, long
// fractions; repeated and unordered keys; escapes and surrogate pairs; raw UTF-8,
// valid or not), mutations of them, and the example requests as they are.
//
// Budget: OSTREL_FUZZ_SECONDS (default 2) or OSTREL_FUZZ_ITERATIONS.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "hash/canonical.hpp"
#include "support/text_gen.hpp"
#include "json/parse.hpp"

using namespace ostrel;

namespace {

class Gen : public text_gen::Choices {
public:
    using Choices::Choices;

    std::string ws() {
        static const char* const kWs[] = {"", "", "", "", " ", "\n", "\t ", "\r\n"};
        return kWs[pick(8)];
    }

    std::string number() {
        switch (pick(20)) {
            case 0: return "0";
            case 1: return chance(50) ? "-0" : "-0.0";
            case 2: return chance(50) ? "1e400" : "-1e400";
            case 3: return chance(50) ? "1e-400" : "-4.9e-324";
            case 4: return digits(19 + pick(3), true);  // around and beyond 64 bits
            case 5: return "-" + digits(18 + pick(3), true);
            case 6: return chance(50) ? "18446744073709551615" : "18446744073709551616";
            case 7: return chance(50) ? "-9223372036854775808" : "-9223372036854775809";
            case 8: {
                // Around the bound of the fixed-point form, up to 8 decimals and beyond.
                static const char* const kWhole[] = {"45035996", "45035995", "45035997", "99999999", "0", "-0"};
                std::string s = (chance(30) ? "-" : "") + std::string(kWhole[pick(6)]);
                if (s == "--0") s = "-0";
                return s + "." + digits(1 + pick(10), false);
            }
            case 9: return chance(50) ? "0.000000005" : "0.000000015";
            case 10: return "1" + std::string(30, '0') + ".5";
            case 11: return chance(50) ? "1E+2" : "25e-1";
            case 12: return (chance(50) ? "0." : "-0.") + digits(1 + pick(25), false);
            case 13: return std::to_string(1700000000000LL + static_cast<long long>(pick(100000)));
            default: {
                std::string s = chance(20) ? "-" : "";
                std::size_t total = 1 + pick(24);
                std::size_t whole = 1 + pick(total);
                s += digits(whole, true);
                if (whole < total) s += "." + digits(total - whole, false);
                if (chance(10)) s += "e" + std::string(chance(50) ? "-" : "") + std::to_string(pick(30));
                return s;
            }
        }
    }

    std::string string_literal() {
        static const char* const kPieces[] = {"a",       "equity", "time",       "\\\"",    "\\\\",  "\\/",
                                              "\\b",     "\\f",    "\\n",        "\\r",     "\\t",   "\\u0041",
                                              "\\u00e9", "\\u0000", "\\u001f",   "\\u007f", "\\u20AC",
                                              "\\ud83d\\ude00",     "\xc3\xa9",  "\xe2\x82\xac", "\x7f",
                                              "\xf0\x9f\x98\x80",   "Z",         "z",       "\xc3"};
        std::string s = "\"";
        const std::size_t n = pick(4);
        for (std::size_t i = 0; i < n; ++i) s += kPieces[pick(chance(97) ? 24 : 25)];
        return s + "\"";
    }

    std::string value(int depth) {
        const std::size_t k = pick(depth >= 9 ? 6 : 9);
        switch (k) {
            case 0: return "null";
            case 1: return chance(50) ? "true" : "false";
            case 2: return string_literal();
            case 3:
            case 4:
            case 5: return number();
            case 6: {
                std::string s = "[" + ws();
                const std::size_t n = pick(4);
                for (std::size_t i = 0; i < n; ++i) s += (i ? ws() + "," + ws() : "") + value(depth + 1);
                return s + ws() + "]";
            }
            default: return object(depth);
        }
    }

    std::string object(int depth) {
        static const char* const kKeys[] = {"\"equity\"", "\"time\"", "\"a\"", "\"b\"", "\"\"", "\"\\u0061\"",
                                            "\"\xc3\xa9\"", "\"A\"", "\"ab\"", "\"\\u00e9\""};
        std::string s = "{" + ws();
        const std::size_t n = pick(5);
        for (std::size_t i = 0; i < n; ++i) {
            if (i) s += ws() + "," + ws();
            s += (chance(90) ? std::string(kKeys[pick(10)]) : string_literal()) + ws() + ":" + ws() +
                 value(depth + 1);
        }
        return s + ws() + "}";
    }

    // A report-like object: equity points in order, metrics, trades.
    std::string report() {
        std::string s = "{\"equity\":[";
        const std::size_t n = pick(6);
        for (std::size_t i = 0; i < n; ++i) {
            s += (i ? "," : "");
            s += chance(80) ? "{\"equity\":" + number() + ",\"time\":" + number() + "}"
                            : "{\"time\":" + number() + ",\"equity\":" + number() + "}";
        }
        s += "],\"metrics\":{\"calmar\":" + number() + ",\"num_trades\":" + number() + "},\"symbol\":" +
             string_literal() + ",\"trades\":[]}";
        return s;
    }

    std::string mutate(std::string s) {
        return Choices::mutate(std::move(s), "{}[]:,\"\\0123456789-+.eEu \n\x01\xc3\xff");
    }

};

// The value at the start of `text` (followed by `tail`): "" when the reader agrees
// with the tree path or declines, else what differs. A taken value is the part of
// the text the parser reads as that value: the part must parse to the same
// canonical text, and when the whole text parses, the part is all of it.
// `taken` counts the takes.
std::string compare(const std::string& text, const std::string& tail, long long& taken) {
    const std::string whole = text + tail;
    std::string out = "prefix";
    const char* end = canonical_from_text(whole.data(), whole.data() + whole.size(), out);
    if (end == nullptr) return out == "prefix" ? "" : "a declining read changed the output";
    ++taken;
    const std::string part = whole.substr(0, static_cast<std::size_t>(end - whole.data()));
    auto tree = json::parse(part);
    if (!tree) return "taken, but the parser refuses it: " + tree.error().display();
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\n' || trimmed.back() == '\t' ||
                                trimmed.back() == '\r')) {
        trimmed.pop_back();
    }
    if (json::parse(text) && part != trimmed) return "the read ends elsewhere than the value";
    if (whole[0] == '-' || (whole[0] >= '0' && whole[0] <= '9')) {
        // A number ends where the parser's number reader ends it.
        json::Value v;
        if (json::read_number(whole.data(), whole.data() + whole.size(), v) != end) {
            return "the read ends elsewhere than the parser's number";
        }
    }
    const std::string expected = "prefix" + *canonical_json(*tree);
    if (out != expected) return "texts differ: " + out + " vs " + expected;
    return "";
}

}  // namespace

TEST(CanonicalFromText, RandomAndMutatedValues) {
    double seconds = 2.0;
    long long max_iterations = -1;
    if (const char* s = std::getenv("OSTREL_FUZZ_SECONDS")) seconds = std::atof(s);
    if (const char* s = std::getenv("OSTREL_FUZZ_ITERATIONS")) max_iterations = std::atoll(s);
    Gen gen(20261207);
    const auto start = std::chrono::steady_clock::now();
    long long n = 0, taken = 0, valid = 0;
    for (;; ++n) {
        if (max_iterations >= 0 && n >= max_iterations) break;
        if (max_iterations < 0 && (n % 256) == 0) {
            std::chrono::duration<double> el = std::chrono::steady_clock::now() - start;
            if (el.count() >= seconds) break;
        }
        std::string text = gen.chance(30) ? gen.report() : gen.value(0);
        const bool mutated = gen.chance(40);
        if (mutated) text = gen.mutate(std::move(text));
        const bool parses = static_cast<bool>(json::parse(text));
        if (parses) ++valid;
        // What follows a value in a request: it must not be read.
        static const char* const kTails[] = {"", ",", "}", "]", " ,\"x\":1}", " x"};
        const std::string tail = parses ? kTails[gen.pick(6)] : "";
        const std::string diff = compare(text, tail, taken);
        ASSERT_EQ(diff, "") << "input: " << text << " tail: " << tail;
    }
    // Most well-formed values are taken.
    EXPECT_GT(taken, valid * 3 / 4);
    std::printf("canonical from text: %lld inputs, %lld well-formed, %lld taken\n", n, valid, taken);
}

TEST(CanonicalFromText, Edges) {
    struct Row {
        const char* text;
        bool taken;
    };
    const Row rows[] = {
        {R"({"b":1,"a":2,"b":3})", true},                        // repeated key keeps the last, in key order
        {R"({"a":{"y":1,"x":2},"a":[-0,-0.0,0.0,1e400]})", false},  // 1e400 is refused by the parser
        {R"({"n":[-0,-0.0,1e-400,-1e-400,0.1e1,1E+2]})", true},
        {R"({"n":[18446744073709551615,18446744073709551616,-9223372036854775808,-9223372036854775809]})", true},
        {R"({"n":[123456789012345678,1234567890123456789,00]})", false},
        {R"({"n":[1.,.5]})", false},
        {R"({"s":"\ud83d\ude00\u00e9\u0000\/\"\\"})", true},
        {R"({"s":"\ud83d"})", false},
        {R"({"s":"\ude00"})", false},
        {R"({"s":"\x"})", false},
        {"{\"s\":\"\xc3\"}", false},
        {"{\"s\":\"\x01\"}", false},
        {R"({"a":[1,]})", false},
        {R"({"a":1,})", false},
        {R"({"\u00e9":1,"z":2,"\u00c9":3})", true},
        {R"([[[[[[[[1]]]]]]]])", true},
        {R"([[[[[[[[[1]]]]]]]]])", false},  // nine deep: declined
        {R"({})", true},
        {R"([ ])", true},
    };
    for (const Row& r : rows) {
        long long taken = 0;
        EXPECT_EQ(compare(r.text, "", taken), "") << r.text;
        EXPECT_EQ(taken, r.taken ? 1 : 0) << r.text;
    }
}

// A value written back in another shape: members in reverse key order, each array
// and object spaced out, every string's first byte as a \u escape.
void write_shuffled(std::string& out, const json::Value& v) {
    if (v.is_array()) {
        out += "[ ";
        bool first = true;
        for (const json::Value& e : v.as_array()) {
            out += first ? "" : " ,\n";
            first = false;
            write_shuffled(out, e);
        }
        out += " ]";
    } else if (v.is_object()) {
        out += "{\t";
        const json::Object& o = v.as_object();
        for (std::size_t i = o.size(); i-- > 0;) {
            if (i + 1 < o.size()) out += ", ";
            write_shuffled(out, json::Value::string(o[i].key));
            out += " : ";
            write_shuffled(out, o[i].value);
        }
        out += "}";
    } else if (v.is_string() && !v.as_string().empty() && static_cast<unsigned char>(v.as_string()[0]) < 0x80) {
        static const char kHex[] = "0123456789abcdef";
        const auto c = static_cast<unsigned char>(v.as_string()[0]);
        std::string rest;
        write_json_string(rest, v.as_string().substr(1));
        out += "\"\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
        out += rest.substr(1);
    } else {
        write_canonical(out, v);
    }
}

// The example requests' expected reports and strategies, as canonical text and
// written back in another shape.
TEST(CanonicalFromText, ExampleReports) {
    const std::filesystem::path dir(OSTREL_EXAMPLES_DIR);
    std::size_t values = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".json") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        auto tree = json::parse(ss.str());
        ASSERT_TRUE(tree) << entry.path();
        const json::Value* suite = tree->find("suite");
        if (suite == nullptr || !suite->is_object()) continue;
        const json::Value* cases = suite->find("cases");
        ASSERT_TRUE(cases != nullptr && cases->is_array());
        for (const json::Value& c : cases->as_array()) {
            for (const char* key : {"expected", "strategy"}) {
                const json::Value* v = c.find(key);
                ASSERT_NE(v, nullptr);
                const std::string canonical = *canonical_json(*v);
                std::string shuffled;
                write_shuffled(shuffled, *v);
                for (const std::string& text : {canonical, shuffled}) {
                    std::string out;
                    const char* end = canonical_from_text(text.data(), text.data() + text.size(), out);
                    ASSERT_EQ(end, text.data() + text.size()) << entry.path() << " " << key;
                    EXPECT_EQ(out, canonical) << entry.path() << " " << key;
                }
                ++values;
            }
        }
    }
    EXPECT_GT(values, 0u);
}
