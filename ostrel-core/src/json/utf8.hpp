// Well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel::json {

// Decodes one well-formed UTF-8 sequence at s[i]; returns its length, or 0 when the
// bytes there are not a well-formed sequence.
inline std::size_t decode_utf8(const unsigned char* s, std::size_t n, std::size_t i, std::uint32_t& cp) {
    unsigned char c = s[i];
    std::size_t len;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (n - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        unsigned char cc = s[i + k];
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return len;
}

// The whole text is well-formed UTF-8.
inline bool valid_utf8(const unsigned char* s, std::size_t n) {
    std::uint32_t cp;
    for (std::size_t i = 0; i < n;) {
        std::size_t len = decode_utf8(s, n, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

}  // namespace ostrel::json
