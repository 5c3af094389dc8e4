// The pieces of the number reader that bulk readers share with the parser, so that
// a number reads to the same value wherever it is met.
#pragma once

#include <bit>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ostrel::json::number_detail {

inline bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The powers of ten that are exact doubles.
inline constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads the run of digits at p, taking the first `room` of them into acc
// (acc * 10 + digit each); returns how many digits there were.
inline std::size_t take_digits(const unsigned char*& p, const unsigned char* end, std::uint64_t& acc,
                               std::size_t room) {
    const unsigned char* const s = p;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight digits at a time.
        while (end - p >= 8 && room >= 8) {
            std::uint64_t v;
            std::memcpy(&v, p, 8);
            if (((v & 0xF0F0F0F0F0F0F0F0ULL) | (((v + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) !=
                0x3333333333333333ULL) {
                break;
            }
            v -= 0x3030303030303030ULL;
            v = (v * 10) + (v >> 8);
            v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
                 (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
                32;
            acc = acc * 100000000ULL + v;
            room -= 8;
            p += 8;
        }
    }
    while (p < end && is_digit(*p)) {
        if (room > 0) {
            acc = acc * 10 + static_cast<std::uint64_t>(*p - '0');
            --room;
        }
        ++p;
    }
    return static_cast<std::size_t>(p - s);
}

// m * 10^e for a mantissa of up to 19 digits (below 2^64) and |e| <= 27, through
// the 64-bit significand of the x87 extended format: m and 10^|e| are exact there
// and one product or quotient is correctly rounded to 64 bits. Rounding that to a
// double gives the correctly rounded double unless it lies exactly halfway between
// two doubles (its low 11 bits 10000000000), where the true value may lie on either
// side: false then, and elsewhere this format is not at hand.
inline bool extended_product(std::uint64_t m, std::int64_t e, double& out) {
#if defined(__x86_64__) && LDBL_MANT_DIG == 64
    if (e < -27 || e > 27) return false;
    // Only with the x87 unit at its defaults: 64-bit precision, round to nearest.
    unsigned short control;
    __asm__("fnstcw %0" : "=m"(control));
    if ((control & 0x0F00u) != 0x0300u) return false;
    static constexpr long double kPow10L[] = {
        1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
        1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
    const long double x = static_cast<long double>(m);
    const long double r = e >= 0 ? x * kPow10L[e] : x / kPow10L[-e];
    std::uint64_t significand;
    std::memcpy(&significand, &r, sizeof significand);
    if ((significand & 0x7FFu) == 0x400u) return false;
    out = static_cast<double>(r);
    return true;
#else
    (void)m;
    (void)e;
    (void)out;
    return false;
#endif
}

// The common shapes of a number in bulk data, read inline: an optional '-', digits
// not starting with 0, optionally '.' and digits, no exponent, at most 19 digits in
// all. Gives the double that the parser's value of the token converts to (an
// integer token as UInt or Int, anything else correctly rounded, which is what the
// parser's float is); nullptr for any other shape, to be read by the parser's own
// number reader (json::read_number). The byte after the token is not looked at.
inline const char* read_plain_f64(const char* p, const char* end, double& out) {
    const unsigned char* q = reinterpret_cast<const unsigned char*>(p);
    const unsigned char* e = reinterpret_cast<const unsigned char*>(end);
    bool negative = false;
    if (q < e && *q == '-') {
        negative = true;
        ++q;
    }
    if (q == e || *q < '1' || *q > '9') return nullptr;
    std::uint64_t m = 0;
    const std::size_t nd = take_digits(q, e, m, 19);
    if (nd > 19) return nullptr;
    std::size_t nf = 0;
    if (q < e && *q == '.') {
        ++q;
        nf = take_digits(q, e, m, 19 - nd);
        if (nf == 0 || nd + nf > 19) return nullptr;
    }
    if (q < e && (*q == 'e' || *q == 'E')) return nullptr;
    double d = 0.0;
    if (nf == 0) {
        // An integer: its u64 or i64 converted, i.e. correctly rounded (negation
        // commutes with rounding to nearest).
        d = static_cast<double>(m);
    } else if (m <= (1ULL << 53) && nf <= 22) {
        d = static_cast<double>(m) / kPow10[nf];
    } else if (!extended_product(m, -static_cast<std::int64_t>(nf), d)) {
        return nullptr;
    }
    out = negative ? -d : d;
    return reinterpret_cast<const char*>(q);
}

// An integer token of at most 18 digits (no '.', no exponent, not "-0"): the i64
// that read_i64 gives for the parser's value of it; nullptr for any other shape.
inline const char* read_plain_i64(const char* p, const char* end, std::int64_t& out) {
    const unsigned char* q = reinterpret_cast<const unsigned char*>(p);
    const unsigned char* e = reinterpret_cast<const unsigned char*>(end);
    bool negative = false;
    if (q < e && *q == '-') {
        negative = true;
        ++q;
    }
    if (q == e || !is_digit(*q) || (*q == '0' && negative)) return nullptr;
    std::uint64_t m = 0;
    const unsigned char* digits = q;
    const std::size_t nd = take_digits(q, e, m, 18);
    if (nd > 18 || (*digits == '0' && nd > 1)) return nullptr;
    if (q < e && (*q == '.' || *q == 'e' || *q == 'E')) return nullptr;
    out = negative ? -static_cast<std::int64_t>(m) : static_cast<std::int64_t>(m);
    return reinterpret_cast<const char*>(q);
}

}  // namespace ostrel::json::number_detail
