// The integer and float writers of canonical text, written in place into a
// caller's buffer: shared by the value writer, the reader of JSON text into
// canonical text, the report writer and the text matcher.
#pragma once

#include <cstdint>

namespace ostrel::canonical_detail {

// Decimal digits of v, no leading zeros (v = 0 writes "0"), written in place from
// the last pair of digits back.
char* write_uint(char* p, std::uint64_t v);

// Inline: it writes every equity point's time, and a call would cost about as
// much as its body.
inline char* write_int(char* p, std::int64_t v) {
    if (v < 0) {
        *p++ = '-';
        return write_uint(p, 0 - static_cast<std::uint64_t>(v));
    }
    return write_uint(p, static_cast<std::uint64_t>(v));
}

// The canonical text of a float at p (room for 400 bytes); returns its end.
char* write_float(char* p, double x);

}  // namespace ostrel::canonical_detail
