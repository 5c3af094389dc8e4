#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <charconv>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "json/parse.hpp"

using namespace ostrel::json;

namespace {

std::string err(std::string_view text) {
    auto r = parse(text);
    if (r) return "ok";
    return r.error().display();
}

Value ok(std::string_view text) {
    auto r = parse(text);
    EXPECT_TRUE(r.has_value()) << text << " -> " << (r ? "" : r.error().display());
    if (!r) return Value();
    return std::move(*r);
}

std::string nest(int depth, char open, char close) {
    return std::string(static_cast<std::size_t>(depth), open) + std::string(static_cast<std::size_t>(depth), close);
}

}  // namespace

TEST(JsonParse, Scalars) {
    EXPECT_TRUE(ok("null").is_null());
    EXPECT_TRUE(ok(" true ").as_bool());
    EXPECT_FALSE(ok("\tfalse\r\n").as_bool());
    Value s = ok("\"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(s.as_string(), "a\"b\\c/d\b\f\n\r\t");
    EXPECT_EQ(ok("\"\\u00e9\\u20AC\\ud83d\\ude00\"").as_string(), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(ok("\"\\u0000\"").as_string(), std::string(1, '\0'));
    EXPECT_EQ(ok("\"h\xC3\xA9llo\"").as_string(), "h\xC3\xA9llo");
}

TEST(JsonParse, NumberKinds) {
    Value u = ok("18446744073709551615");
    ASSERT_TRUE(u.is_uint());
    EXPECT_EQ(u.as_uint(), std::numeric_limits<std::uint64_t>::max());
    Value over = ok("18446744073709551616");
    ASSERT_TRUE(over.is_float());
    EXPECT_EQ(over.as_float(), 18446744073709551616.0);
    Value imin = ok("-9223372036854775808");
    ASSERT_TRUE(imin.is_int());
    EXPECT_EQ(imin.as_int(), std::numeric_limits<std::int64_t>::min());
    Value below = ok("-9223372036854775809");
    ASSERT_TRUE(below.is_float());
    EXPECT_EQ(below.as_float(), -9223372036854775808.0);
    Value neg = ok("-5");
    ASSERT_TRUE(neg.is_int());
    EXPECT_EQ(neg.as_int(), -5);
    Value zero = ok("0");
    ASSERT_TRUE(zero.is_uint());
    Value mz = ok("-0");
    ASSERT_TRUE(mz.is_float());
    EXPECT_EQ(mz.as_float(), 0.0);
    EXPECT_TRUE(std::signbit(mz.as_float()));
    Value mzf = ok("-0.0");
    ASSERT_TRUE(mzf.is_float());
    EXPECT_TRUE(std::signbit(mzf.as_float()));
    EXPECT_TRUE(ok("5.0").is_float());
    EXPECT_TRUE(ok("1e3").is_float());
    EXPECT_EQ(ok("1E+3").as_float(), 1000.0);
    EXPECT_EQ(ok("0.1").as_float(), 0.1);
    EXPECT_EQ(ok("2.5e-3").as_float(), 0.0025);
    EXPECT_EQ(ok("17976931348623157e292").as_float(), std::numeric_limits<double>::max());
    EXPECT_EQ(ok("5e-324").as_float(), std::numeric_limits<double>::denorm_min());
    // Correct rounding: the halfway case between 1 and the next double rounds to even.
    EXPECT_EQ(ok("1.00000000000000011102230246251565404236316680908203125").as_float(), 1.0);
    EXPECT_EQ(ok("9007199254740993").as_uint(), 9007199254740993ULL);
    EXPECT_EQ(ok("9007199254740993.0").as_float(), 9007199254740992.0);
}

TEST(JsonParse, OverflowAndUnderflow) {
    EXPECT_EQ(err("1" + std::string(400, '0')), "number out of range at line 1 column 401");
    Value tiny = ok("1e-400");
    ASSERT_TRUE(tiny.is_float());
    EXPECT_EQ(tiny.as_float(), 0.0);
    EXPECT_FALSE(std::signbit(tiny.as_float()));
    Value ntiny = ok("-1e-400");
    EXPECT_TRUE(std::signbit(ntiny.as_float()));
    EXPECT_EQ(ok("0.000001e-400").as_float(), 0.0);
    EXPECT_EQ(ok("0e999999").as_float(), 0.0);
    EXPECT_EQ(ok("1e-99999999999").as_float(), 0.0);
    EXPECT_EQ(ok("0e99999999999").as_float(), 0.0);
    EXPECT_EQ(ok("0.000e99999999999").as_float(), 0.0);
}

// The parse errors of short texts are rows of data/texts.txt, read by json_read_test.cpp.
TEST(JsonParse, EmptyTextAndTrailingWhiteSpace) {
    EXPECT_EQ(err(""), "EOF while parsing a value at line 1 column 0");
    EXPECT_TRUE(ok("{\"cmd\":\"version\"} \t\r\n ").is_object());
}

TEST(JsonParse, Depth) {
    EXPECT_TRUE(ok(nest(127, '[', ']')).is_array());
    EXPECT_EQ(err(nest(128, '[', ']')), "recursion limit exceeded at line 1 column 128");
    std::string objs;
    for (int i = 0; i < 127; ++i) objs += "{\"a\":";
    objs += "1";
    objs += std::string(127, '}');
    EXPECT_TRUE(ok(objs).is_object());
    std::string deep;
    for (int i = 0; i < 128; ++i) deep += "{\"a\":";
    EXPECT_EQ(err(deep), "recursion limit exceeded at line 1 column " + std::to_string(127 * 5 + 1));
    // Very deep text fails at 128 without recursing further.
    EXPECT_EQ(err(std::string(1000000, '[')), "recursion limit exceeded at line 1 column 128");
}

TEST(JsonParse, Objects) {
    Value v = ok("{\"b\":1,\"a\":[true,null],\"B\":2,\"ab\":3,\"\xC3\xA9\":4,\"a\":5}");
    ASSERT_TRUE(v.is_object());
    const Object& o = v.as_object();
    ASSERT_EQ(o.size(), 5u);
    EXPECT_EQ(o[0].key, "B");
    EXPECT_EQ(o[1].key, "a");
    EXPECT_EQ(o[2].key, "ab");
    EXPECT_EQ(o[3].key, "b");
    EXPECT_EQ(o[4].key, "\xC3\xA9");
    // The last of repeated keys is kept.
    EXPECT_EQ(o[1].value.as_uint(), 5u);
    EXPECT_EQ(v.find("ab")->as_uint(), 3u);
    EXPECT_EQ(v.find("zz"), nullptr);
    Value e = ok("{}");
    EXPECT_TRUE(e.as_object().empty());
    Value z = ok("{\"a\\u0000b\":1,\"a\":2}");
    EXPECT_EQ(z.as_object()[0].key, "a");
    EXPECT_EQ(z.as_object()[1].key, std::string("a\0b", 3));
}

TEST(JsonParse, ValueCopyAndEquality) {
    Value v = ok("{\"x\":[1,-2,3.5,\"s\",{\"k\":null}],\"y\":false}");
    Value c = v;
    EXPECT_TRUE(c == v);
    c.as_object().insert_or_assign("z", Value::string("new"));
    EXPECT_FALSE(c == v);
    Value m = std::move(c);
    EXPECT_TRUE(c.is_null());
    EXPECT_EQ(m.find("z")->as_string(), "new");
    c = v;  // copy assignment: deep, equal
    EXPECT_TRUE(c == v);
    EXPECT_EQ(c.to_f64(), 0.0);  // not a number
    EXPECT_EQ(std::as_const(c.as_object()).find("zz"), nullptr);
}

TEST(JsonParse, ObjectStorage) {
    Value v = ok("{\"m\":1,\"c\":[2],\"x\":{\"k\":\"long string value beyond SSO\"}}");
    // Moving out of an object that the parser built moves its members.
    Object taken = std::move(v.as_object());
    EXPECT_TRUE(v.as_object().empty());
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].key, "c");
    EXPECT_EQ(taken.find("x")->find("k")->as_string(), "long string value beyond SSO");
    // Inserting keeps the key order, wherever the key falls.
    taken.insert_or_assign("a", Value::uinteger(0));
    taken.insert_or_assign("z", Value::uinteger(9));
    taken.insert_or_assign("n", Value::uinteger(5));
    taken.insert_or_assign("m", Value::uinteger(7));
    std::string keys;
    for (const Member& m : taken) keys += m.key;
    EXPECT_EQ(keys, "acmnxz");
    EXPECT_EQ(taken.find("m")->as_uint(), 7u);
    // Copies are deep and equal; a copy of a parsed object compares equal to it.
    Value w = ok("{\"b\":[1,{\"c\":null}],\"a\":true}");
    Value copy = w;
    EXPECT_TRUE(copy == w);
    Object assigned;
    assigned = w.as_object();
    EXPECT_TRUE(Value::object(assigned) == w);
    assigned = std::move(w.as_object());
    EXPECT_TRUE(Value::object(std::move(assigned)) == copy);
    // Self-nested move: an object assigned one of its own members.
    Value nest = ok("{\"inner\":{\"k\":1}}");
    nest.as_object() = std::move(nest.find("inner")->as_object());
    EXPECT_EQ(nest.find("k")->as_uint(), 1u);
    Object from = Object::from_members({{"b", Value::uinteger(1)}, {"a", Value::uinteger(2)}, {"b", Value::uinteger(3)}});
    ASSERT_EQ(from.size(), 2u);
    EXPECT_EQ(from[1].value.as_uint(), 3u);
}

// The float fast path against std::from_chars (correctly rounded) on random texts.
TEST(JsonParse, FloatsMatchFromChars) {
    std::mt19937_64 rng(7);
    for (int n = 0; n < 200000; ++n) {
        std::string t;
        if (rng() % 4 == 0) t += '-';
        if (rng() % 5 == 0) {
            t += '0';
        } else {
            int int_digits = 1 + static_cast<int>(rng() % 20);
            t += static_cast<char>('1' + rng() % 9);
            for (int i = 1; i < int_digits; ++i) t += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 3 != 0) {
            t += '.';
            int frac = 1 + static_cast<int>(rng() % 20);
            for (int i = 0; i < frac; ++i) t += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 3 == 0) {
            t += 'e';
            t += std::to_string(static_cast<int>(rng() % 80) - 40);
        }
        auto v = parse(t);
        ASSERT_TRUE(v.has_value()) << t;
        double expect = 0;
        std::from_chars(t.data(), t.data() + t.size(), expect);
        double got = v->is_float() ? v->as_float() : v->to_f64();
        if (!v->is_float()) continue;  // plain integers stay integers
        ASSERT_EQ(got, expect) << t;
    }
}

// Mantissas of 17 to 19 digits (above 2^53, the reach of the one-step conversion)
// with small exponents, and texts that lie exactly halfway between two doubles,
// where a conversion through a wider format could round twice: bit for bit as
// std::from_chars reads them.
TEST(JsonParse, LongMantissasMatchFromChars) {
    auto check = [](const std::string& t) {
        auto v = parse(t);
        ASSERT_TRUE(v.has_value()) << t;
        double expect = 0;
        std::from_chars(t.data(), t.data() + t.size(), expect);
        ASSERT_TRUE(v->is_float()) << t;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(v->as_float()), std::bit_cast<std::uint64_t>(expect)) << t;
    };
    // Halfway: 2^53 + 1, 2^54 + 2, 2^60 + 2^7, 2^63 + 2^10 and their neighbours,
    // also as fractions (m / 10^k is halfway when m is a multiple of 10^k).
    for (std::uint64_t mid : {9007199254740993ULL, 18014398509481986ULL, 1152921504606847104ULL,
                              9223372036854776832ULL}) {
        for (std::uint64_t m : {mid - 1, mid, mid + 1}) {
            check(std::to_string(m) + ".0");
            check(std::to_string(m) + "e0");
            check("-" + std::to_string(m) + ".0");
        }
    }
    check("9007199254740993000e-3");
    check("1152921504606847104000e-3");
    check("4611686018427388416e1");  // (2^62 + 2^9) * 10
    std::mt19937_64 rng(11);
    for (int n = 0; n < 300000; ++n) {
        const int total = 17 + static_cast<int>(rng() % 3);
        const int whole = 1 + static_cast<int>(rng() % static_cast<std::uint64_t>(total));
        std::string t;
        if (rng() % 2 == 0) t += '-';
        t += static_cast<char>('1' + rng() % 9);
        for (int i = 1; i < whole; ++i) t += static_cast<char>('0' + rng() % 10);
        if (whole < total) {
            t += '.';
            for (int i = whole; i < total; ++i) t += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 2 == 0) t += "e" + std::to_string(static_cast<int>(rng() % 61) - 30);
        if (t.find_first_of(".e") == std::string::npos) t += ".0";
        check(t);
        if (HasFatalFailure()) return;
    }
}

TEST(JsonParse, AllMessages) {
    const char* const expected[] = {
        "EOF while parsing a list",
        "EOF while parsing an object",
        "EOF while parsing a string",
        "EOF while parsing a value",
        "expected `:`",
        "expected `,` or `]`",
        "expected `,` or `}`",
        "expected ident",
        "expected value",
        "expected `\"`",
        "invalid escape",
        "invalid number",
        "number out of range",
        "invalid unicode code point",
        "control character (\\u0000-\\u001F) found while parsing a string",
        "key must be a string",
        "lone leading surrogate in hex escape",
        "trailing comma",
        "trailing characters",
        "unexpected end of hex escape",
        "recursion limit exceeded",
    };
    for (int i = 0; i <= static_cast<int>(ParseCode::RecursionLimitExceeded); ++i) {
        EXPECT_EQ(parse_message(static_cast<ParseCode>(i)), expected[i]);
    }
    EXPECT_EQ((ParseError{ParseCode::TrailingCharacters, 3, 7}).display(), "trailing characters at line 3 column 7");
}
