#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <string>

#include "hash/canonical.hpp"
#include "json/parse.hpp"

using namespace ostrel;
using json::Value;

namespace {

std::string f(double x) {
    std::string s;
    write_canonical_float(s, x);
    return s;
}

std::string canon(std::string_view text) {
    auto v = json::parse(text);
    EXPECT_TRUE(v.has_value()) << text;
    if (!v) return "";
    auto c = canonical_json(*v);
    EXPECT_TRUE(c.has_value());
    return c ? *c : "";
}

std::string str(std::string_view s) {
    std::string out;
    write_json_string(out, s);
    return out;
}

}  // namespace

TEST(Canonical, WorkedFloatExamples) {
    EXPECT_EQ(f(0.1), "0.1");
    EXPECT_EQ(f(1.0), "1");
    EXPECT_EQ(f(-0.0), "0");
    EXPECT_EQ(f(0.0), "0");
    EXPECT_EQ(f(-1e-9), "0");
    EXPECT_EQ(f(1.0 / 3.0), "0.33333333");
    EXPECT_EQ(f(2.0 / 3.0), "0.66666667");
    EXPECT_EQ(f(0.30000000000000004), "0.3");
    EXPECT_EQ(f(-2.5), "-2.5");
    EXPECT_EQ(f(45035996.27370496), "45035996.27370496");
    EXPECT_EQ(f(1e20), "100000000000000000000");
    EXPECT_EQ(f(1e23), "1" + std::string(23, '0'));
    EXPECT_EQ(f(-1e23), "-1" + std::string(23, '0'));
    EXPECT_EQ(f(1.0 / 512.0), "0.00195312");  // exact tie at the 9th decimal: even
    EXPECT_EQ(f(0.1000000000000001), "0.1");
    EXPECT_EQ(f(10000.0), "10000");
    EXPECT_EQ(f(123.456), "123.456");
    EXPECT_EQ(f(-0.000000005), "-0.00000001");
    EXPECT_EQ(f(-0.000000004), "0");
    EXPECT_EQ(f(1.7976931348623157e308), "17976931348623157" + std::string(292, '0'));
    EXPECT_EQ(f(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(f(std::nan("")), "null");
}

TEST(Canonical, Threshold) {
    const double t = 45035996.27370496;
    // Just below: at most 8 decimals.
    EXPECT_EQ(f(std::nextafter(t, 0.0)), "45035996.27370495");
    EXPECT_EQ(f(45035996.0), "45035996");
    EXPECT_EQ(f(45035996.125), "45035996.125");
    // At or above: all the digits needed.
    EXPECT_EQ(f(std::nextafter(t, 1e300)), "45035996.27370497");
    EXPECT_EQ(f(9007199254740993.0), "9007199254740992");
    EXPECT_EQ(f(123456789.123), "123456789.123");
    EXPECT_EQ(f(-123456789.5), "-123456789.5");
}

TEST(Canonical, NonFiniteBecomesNull) {
    json::Object o;
    o.insert_or_assign("calmar", Value::finite_or_null(std::numeric_limits<double>::infinity()));
    o.insert_or_assign("nan", Value::finite_or_null(std::nan("")));
    o.insert_or_assign("x", Value::finite_or_null(-std::numeric_limits<double>::infinity()));
    o.insert_or_assign("y", Value::finite_or_null(2.5));
    EXPECT_EQ(*canonical_json(Value::object(std::move(o))), "{\"calmar\":null,\"nan\":null,\"x\":null,\"y\":2.5}");
    EXPECT_EQ(report_hash(""), blake3_hex(""));
}

TEST(Canonical, Integers) {
    EXPECT_EQ(canon("42"), "42");
    EXPECT_EQ(canon("-7"), "-7");
    EXPECT_EQ(canon("18446744073709551615"), "18446744073709551615");
    EXPECT_EQ(canon("-9223372036854775808"), "-9223372036854775808");
    EXPECT_EQ(canon("1.0"), "1");
}

TEST(Canonical, Structures) {
    EXPECT_EQ(canon("{\"b\": 1, \"a\": [true, null]}"), "{\"a\":[true,null],\"b\":1}");
    EXPECT_EQ(canon("{\"a\":1,\"B\":2,\"ab\":3}"), "{\"B\":2,\"a\":1,\"ab\":3}");
    EXPECT_EQ(canon("{\"\xC3\xA9\":1,\"z\":2,\"Z\":3}"), "{\"Z\":3,\"z\":2,\"\xC3\xA9\":1}");
    EXPECT_EQ(canon(" [ ] "), "[]");
    EXPECT_EQ(canon("{ }"), "{}");
    EXPECT_EQ(canon("[1, [2, {\"x\": \"y\"}], false]"), "[1,[2,{\"x\":\"y\"}],false]");
}

TEST(Canonical, Strings) {
    EXPECT_EQ(str("a\"b\nc"), "\"a\\\"b\\nc\"");
    EXPECT_EQ(str(std::string("\x01", 1)), "\"\\u0001\"");
    EXPECT_EQ(str(std::string("\0", 1)), "\"\\u0000\"");
    EXPECT_EQ(str("\b\f\n\r\t\\"), "\"\\b\\f\\n\\r\\t\\\\\"");
    EXPECT_EQ(str("\x1f\x0b"), "\"\\u001f\\u000b\"");
    EXPECT_EQ(str("/\x7f\xC3\xA9"), "\"/\x7f\xC3\xA9\"");
    EXPECT_EQ(str(""), "\"\"");
}

TEST(Canonical, Blake3KnownVectors) {
    EXPECT_EQ(blake3_hex(""), "af1349b9f5f9a1a6a0404dea36dcc9499bcb25c9adc112b7cc9a93cae41f3262");
    std::string h = blake3_hex("{\"a\":1}");
    EXPECT_EQ(h.size(), 64u);
    for (char c : h) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
}

// Random texts of many lengths (the chunk and SIMD boundaries included), hashed
// here and by Debian's b3sum.
TEST(Canonical, Blake3AgainstB3sum) {
    if (std::system("b3sum --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "b3sum not installed";
    std::mt19937_64 rng(12345);
    const std::size_t lengths[] = {0, 1, 63, 64, 65, 1023, 1024, 1025, 2048, 4096, 8193, 16385, 65536, 100003, 1 << 20};
    std::string path = testing::TempDir() + "b3_input.bin";
    for (std::size_t n : lengths) {
        std::string data(n, '\0');
        for (char& c : data) c = static_cast<char>(rng() & 0xFF);
        {
            std::ofstream out(path, std::ios::binary);
            out.write(data.data(), static_cast<std::streamsize>(data.size()));
        }
        std::string cmd = "b3sum --no-names '" + path + "'";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        char buf[128] = {};
        std::size_t got = fread(buf, 1, 64, p);
        pclose(p);
        ASSERT_EQ(got, 64u);
        EXPECT_EQ(blake3_hex(data), std::string(buf, 64)) << "length " << n;
    }
    std::remove(path.c_str());
}

namespace {

// The canonical text below the threshold as the C library's printf gives it: %.8f,
// trailing zeros and a final "." removed, "-0" as "0".
std::string printf_reference(double x) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.8f", x);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

// The same digits from the standard library's exact fixed formatting.
std::string to_chars_reference(double x) {
    char buf[512];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 8);
    std::string s(buf, r.ptr);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

constexpr double kThreshold = 45035996.27370496;

// Checks one double below the threshold against both references.
void expect_fixed_form(double x) {
    if (!(std::fabs(x) < kThreshold) || x == 0.0) return;
    std::string got = f(x);
    ASSERT_EQ(got, printf_reference(x)) << std::hexfloat << x;
    ASSERT_EQ(got, to_chars_reference(x)) << std::hexfloat << x;
}

double from_bits(std::uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

}  // namespace

// The fixed-form writer against printf and to_chars over millions of doubles:
// random bit patterns of every exponent below the threshold, exact ties at the
// 9th decimal (odd multiples of 2^-9), the doubles next to decimal ties
// (k + 1/2) * 1e-8, both sides of the threshold and of every power of two, and
// subnormals.
TEST(Canonical, FixedFormMatchesPrintfAndToChars) {
    std::mt19937_64 rng(20261207);
    // Random bit patterns with exponents from subnormal up to the threshold's.
    for (int k = 0; k < 1000000; ++k) {
        std::uint64_t bits = rng();
        std::uint64_t exp = rng() % (1023 + 26);  // biased exponents 0 .. 1048 (2^25)
        bits = (bits & 0x800FFFFFFFFFFFFFull) | (exp << 52);
        expect_fixed_form(from_bits(bits));
    }
    // Uniform values in the ranges equity and prices take.
    std::uniform_real_distribution<double> price(-50000.0, 50000.0);
    for (int k = 0; k < 300000; ++k) expect_fixed_form(price(rng));
    // Exact ties at the 9th decimal: odd multiples of 1/512, and their neighbours.
    for (std::uint64_t a = 1; a < 400000; a += 2) {
        double x = static_cast<double>(a) / 512.0;
        expect_fixed_form(x);
        expect_fixed_form(-x);
        expect_fixed_form(std::nextafter(x, 0.0));
        expect_fixed_form(std::nextafter(x, 1e9));
    }
    for (int k = 0; k < 200000; ++k) {
        std::uint64_t a = 2 * (rng() % (std::uint64_t{1} << 33)) + 1;
        double x = std::ldexp(static_cast<double>(a), -9);
        expect_fixed_form(x);
    }
    // The doubles nearest to decimal ties (k + 0.5) * 1e-8 and their neighbours.
    for (int k = 0; k < 200000; ++k) {
        std::uint64_t units = rng() % 4503599627370496ull;
        double x = (static_cast<double>(units) + 0.5) / 1e8;
        expect_fixed_form(x);
        expect_fixed_form(std::nextafter(x, 0.0));
        expect_fixed_form(std::nextafter(x, 1e9));
    }
    for (int e = -1074; e <= 25; ++e) {
        double p = std::ldexp(1.0, e);
        expect_fixed_form(p);
        expect_fixed_form(-p);
        expect_fixed_form(std::nextafter(p, 0.0));
        expect_fixed_form(std::nextafter(p, 1e9));
    }
    expect_fixed_form(std::nextafter(kThreshold, 0.0));
    expect_fixed_form(-std::nextafter(kThreshold, 0.0));
    expect_fixed_form(std::numeric_limits<double>::denorm_min());
    expect_fixed_form(5e-9);
    expect_fixed_form(-5e-9);
    expect_fixed_form(std::nextafter(5e-9, 1.0));
    expect_fixed_form(0.999999995);
    expect_fixed_form(9.999999995);
    expect_fixed_form(99999999.5 / 1e8);
}

// Equality with a value's canonical text, compared piece by piece.
TEST(Canonical, TextEqualsComparesTheWholeText) {
    std::string big = "[";
    for (int k = 0; k < 20000; ++k) big += (k ? ",{\"equity\":" : "{\"equity\":") + std::to_string(k) + ".5,\"time\":" +
                                           std::to_string(k) + "}";
    big += "]";
    auto v = json::parse(big);
    ASSERT_TRUE(v.has_value());
    std::string text = *canonical_json(*v);
    EXPECT_TRUE(canonical_text_equals(*v, text));
    EXPECT_FALSE(canonical_text_equals(*v, text + " "));
    EXPECT_FALSE(canonical_text_equals(*v, text.substr(0, text.size() - 1)));
    std::string late = text;
    late[late.size() - 3] = '8';  // a difference in the last piece
    EXPECT_FALSE(canonical_text_equals(*v, late));
    std::string early = text;
    early[5] = 'x';
    EXPECT_FALSE(canonical_text_equals(*v, early));
    EXPECT_TRUE(canonical_text_equals(Value::object(json::Object()), "{}"));
    EXPECT_FALSE(canonical_text_equals(Value::object(json::Object()), ""));
    EXPECT_FALSE(canonical_text_equals(Value::object(json::Object()), "{}}"));
    EXPECT_TRUE(canonical_text_equals(Value::number(0.1), "0.1"));
    EXPECT_FALSE(canonical_text_equals(Value::number(0.1), "0.10"));
    // Integers: digits without leading zeros, the whole 64-bit range.
    EXPECT_TRUE(canonical_text_equals(Value::uinteger(0), "0"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(0), "00"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(5), "05"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(5), "5.0"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(5), ""));
    EXPECT_TRUE(canonical_text_equals(Value::uinteger(18446744073709551615ull), "18446744073709551615"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(18446744073709551615ull), "18446744073709551616"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(1), "18446744073709551617"));
    EXPECT_TRUE(canonical_text_equals(Value::integer(-9223372036854775807 - 1), "-9223372036854775808"));
    EXPECT_FALSE(canonical_text_equals(Value::integer(-5), "-05"));
    EXPECT_FALSE(canonical_text_equals(Value::integer(-5), "5"));
    EXPECT_FALSE(canonical_text_equals(Value::uinteger(5), "-5"));
    auto arr = json::parse(R"([1,-2,{"a":30,"b":[0,"x\n"]},null,true,false,1.5])");
    ASSERT_TRUE(arr.has_value());
    EXPECT_TRUE(canonical_text_equals(*arr, R"([1,-2,{"a":30,"b":[0,"x\n"]},null,true,false,1.5])"));
    EXPECT_FALSE(canonical_text_equals(*arr, R"([1,-2,{"a":300,"b":[0,"x\n"]},null,true,false,1.5])"));
    EXPECT_FALSE(canonical_text_equals(*arr, R"([1,-2,{"a":3,"b":[0,"x\n"]},null,true,false,1.5])"));
    EXPECT_FALSE(canonical_text_equals(*arr, R"([1,-2,{"a":30,"b":[0,"x\t"]},null,true,false,1.5])"));
}
