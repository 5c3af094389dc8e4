// Whether a value tree's canonical text is a given text, without writing it.
#include "hash/canonical.hpp"

#include <cstdint>
#include <cstring>
#include <string>

#include "hash/scalar_writers.hpp"

namespace ostrel {

namespace canonical_detail {

// Walks a value and checks its canonical form against a text at a moving cursor:
// literal bytes are compared in place and every number is written into a small
// local buffer, so no text of the value is built.
class TextMatcher {
public:
    explicit TextMatcher(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool matches(const json::Value& v) { return value(v) && p_ == end_; }

private:
    bool bytes(const char* s, std::size_t n) {
        if (static_cast<std::size_t>(end_ - p_) < n || !same(p_, s, n)) return false;
        p_ += n;
        return true;
    }
    // Byte equality without a library call. Short pieces (numbers just written into
    // a local buffer, keys) byte by byte: a wide load of bytes stored a moment ago
    // one or two at a time would stall; longer ones by words of 8 bytes, the last
    // one overlapping.
    static bool same(const char* a, const char* b, std::size_t n) {
        if (n < 16) {
            for (std::size_t i = 0; i < n; ++i) {
                if (a[i] != b[i]) return false;
            }
            return true;
        }
        std::uint64_t x, y;
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y) return false;
        }
        std::memcpy(&x, a + n - 8, 8);
        std::memcpy(&y, b + n - 8, 8);
        return x == y;
    }
    // An integer's canonical text is its digits without leading zeros: read the
    // digits at the cursor and compare their value (a digit after the text's
    // integer would never be followed by what the value's canonical text is).
    bool unsigned_digits(std::uint64_t u) {
        const char* q = p_;
        std::uint64_t got = 0;
        while (q < end_ && *q >= '0' && *q <= '9') {
            const auto d = static_cast<std::uint64_t>(*q - '0');
            if (got > (~std::uint64_t{0} - d) / 10) return false;  // more than 64 bits
            got = got * 10 + d;
            ++q;
        }
        const std::size_t n = static_cast<std::size_t>(q - p_);
        if (n == 0 || got != u || (n > 1 && *p_ == '0')) return false;
        p_ = q;
        return true;
    }
    bool byte(char c) {
        if (p_ == end_ || *p_ != c) return false;
        ++p_;
        return true;
    }
    bool string(std::string_view s) {
        for (unsigned char c : s) {
            if (c < 0x20 || c == '"' || c == '\\') {
                std::string escaped;
                write_json_string(escaped, s);
                return bytes(escaped.data(), escaped.size());
            }
        }
        return byte('"') && bytes(s.data(), s.size()) && byte('"');
    }
    bool value(const json::Value& v) {
        using K = json::Value::Kind;
        switch (v.kind()) {
            case K::Null: return bytes("null", 4);
            case K::Bool: return v.as_bool() ? bytes("true", 4) : bytes("false", 5);
            case K::UInt: return unsigned_digits(v.as_uint());
            case K::Int: return byte('-') && unsigned_digits(0 - static_cast<std::uint64_t>(v.as_int()));
            case K::Float: {
                char buf[400];
                return bytes(buf, static_cast<std::size_t>(write_float(buf, v.as_float()) - buf));
            }
            case K::String: return string(v.as_string());
            case K::Array: {
                if (!byte('[')) return false;
                bool first = true;
                for (const json::Value& e : v.as_array()) {
                    if (!first && !byte(',')) return false;
                    first = false;
                    if (!value(e)) return false;
                }
                return byte(']');
            }
            case K::Object: {
                // The tree keeps its members in key-byte order: the canonical order.
                if (!byte('{')) return false;
                bool first = true;
                for (const json::Member& m : v.as_object()) {
                    if (!first && !byte(',')) return false;
                    first = false;
                    if (!string(m.key) || !byte(':') || !value(m.value)) return false;
                }
                return byte('}');
            }
        }
        return false;
    }

    const char* p_;
    const char* end_;
};

}  // namespace canonical_detail

bool canonical_text_equals(const json::Value& v, std::string_view text) {
    return canonical_detail::TextMatcher(text).matches(v);
}

}  // namespace ostrel
