// The string, integer and float writers of canonical text.
#include "hash/canonical.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "hash/scalar_writers.hpp"

namespace ostrel {

void write_json_string(std::string& out, std::string_view s) {
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    const char* p = s.data();
    const char* end = p + s.size();
    const char* run = p;
    while (p < end) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++p;
            continue;
        }
        out.append(run, static_cast<std::size_t>(p - run));
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case 0x08: out += "\\b"; break;
            case 0x0C: out += "\\f"; break;
            case 0x0A: out += "\\n"; break;
            case 0x0D: out += "\\r"; break;
            case 0x09: out += "\\t"; break;
            default: {
                char esc[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                out.append(esc, 6);
            }
        }
        ++p;
        run = p;
    }
    out.append(run, static_cast<std::size_t>(end - run));
    out.push_back('"');
}

namespace canonical_detail {

const char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* write_uint(char* p, std::uint64_t v) {
    static constexpr std::uint64_t kPow10[20] = {1ull,
                                                 10ull,
                                                 100ull,
                                                 1000ull,
                                                 10000ull,
                                                 100000ull,
                                                 1000000ull,
                                                 10000000ull,
                                                 100000000ull,
                                                 1000000000ull,
                                                 10000000000ull,
                                                 100000000000ull,
                                                 1000000000000ull,
                                                 10000000000000ull,
                                                 100000000000000ull,
                                                 1000000000000000ull,
                                                 10000000000000000ull,
                                                 100000000000000000ull,
                                                 1000000000000000000ull,
                                                 10000000000000000000ull};
    int n = 1;
    while (n < 20 && v >= kPow10[n]) ++n;
    char* end = p + n;
    char* q = end;
    while (v >= 100) {
        const std::uint64_t d = v / 100;
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * (v - d * 100), 2);
        v = d;
    }
    if (v >= 10) {
        std::memcpy(q - 2, kDigitPairs + 2 * v, 2);
    } else {
        q[-1] = static_cast<char>('0' + v);
    }
    return end;
}

// The %.8f text of a finite x with |x| < 2^52 * 1e-8, trailing zeros and a final
// "." removed, "-0" written as "0". x = m * 2^e exactly; the eighth-decimal count
// x * 1e8 = m * 1e8 * 2^e is rounded to the nearest integer, an exact tie to the
// even one, in 128-bit integer arithmetic (m * 1e8 < 2^80), so the digits are
// those of the exact binary value, as %.8f gives them.
char* write_fixed8(char* p, double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e;
    if (biased == 0) {
        e = -1074;
    } else {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    const unsigned __int128 n = static_cast<unsigned __int128>(m) * 100000000u;
    std::uint64_t q;  // round(|x| * 1e8) < 2^53
    if (e >= 0) {
        q = static_cast<std::uint64_t>(n << e);
    } else if (e <= -81) {
        q = 0;  // n < 2^80 <= half a unit: rounds to 0
    } else {
        const int s = -e;
        q = static_cast<std::uint64_t>(n >> s);
        const unsigned __int128 rest = n - (static_cast<unsigned __int128>(q) << s);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
        if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    }
    if (q == 0) {
        *p++ = '0';
        return p;
    }
    if (negative) *p++ = '-';
    const std::uint64_t whole = q / 100000000u;
    const auto frac = static_cast<std::uint32_t>(q - whole * 100000000u);
    p = write_uint(p, whole);
    if (frac == 0) return p;
    *p++ = '.';
    // The eight decimals as four digit pairs, then the trailing zeros dropped.
    const std::uint32_t hi = frac / 10000;
    const std::uint32_t lo = frac - hi * 10000;
    std::memcpy(p, kDigitPairs + 2 * (hi / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (hi % 100), 2);
    std::memcpy(p + 4, kDigitPairs + 2 * (lo / 100), 2);
    std::memcpy(p + 6, kDigitPairs + 2 * (lo % 100), 2);
    p += 8;
    while (p[-1] == '0') --p;
    return p;
}

char* write_float(char* p, double x) {
    if (!std::isfinite(x)) {
        std::memcpy(p, "null", 4);
        return p + 4;
    }
    if (x == 0.0) {
        *p = '0';
        return p + 1;
    }
    if (std::fabs(x) < 45035996.27370496) return write_fixed8(p, x);
    // Shortest round-trip digits, written positionally: expand the scientific form
    // (to_chars' fixed form would print the exact binary value).
    char sci[64];
    auto r = std::to_chars(sci, sci + sizeof sci, std::fabs(x), std::chars_format::scientific);
    const char* s = sci;
    char digits[32];
    int nd = 0;
    while (s < r.ptr && *s != 'e') {
        if (*s != '.') digits[nd++] = *s;
        ++s;
    }
    int e = 0;
    bool neg_e = false;
    if (s < r.ptr) {
        ++s;
        if (*s == '+' || *s == '-') {
            neg_e = *s == '-';
            ++s;
        }
        for (; s < r.ptr; ++s) e = e * 10 + (*s - '0');
    }
    if (neg_e) e = -e;
    const int int_len = e + 1;  // >= 8 here
    if (x < 0) *p++ = '-';
    if (int_len >= nd) {
        std::memcpy(p, digits, static_cast<std::size_t>(nd));
        p += nd;
        std::memset(p, '0', static_cast<std::size_t>(int_len - nd));
        return p + (int_len - nd);
    }
    std::memcpy(p, digits, static_cast<std::size_t>(int_len));
    p += int_len;
    *p++ = '.';
    std::memcpy(p, digits + int_len, static_cast<std::size_t>(nd - int_len));
    return p + (nd - int_len);
}

}  // namespace canonical_detail

void write_canonical_float(std::string& out, double x) {
    char buf[400];
    char* end = canonical_detail::write_float(buf, x);
    out.append(buf, static_cast<std::size_t>(end - buf));
}

}  // namespace ostrel
