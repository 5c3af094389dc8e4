#include "hash/canonical.hpp"

#include <blake3.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

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

void write_canonical_float(std::string& out, double x) {
    if (!std::isfinite(x)) {
        out += "null";
        return;
    }
    if (x == 0.0) {
        out.push_back('0');
        return;
    }
    char buf[400];
    if (std::fabs(x) >= 45035996.27370496) {
        // Shortest round-trip digits, written positionally: expand the scientific
        // form (to_chars' fixed form would print the exact binary value).
        auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
        const char* p = buf;
        char digits[32];
        int nd = 0;
        while (p < r.ptr && *p != 'e') {
            if (*p != '.') digits[nd++] = *p;
            ++p;
        }
        int e = 0;
        bool neg_e = false;
        if (p < r.ptr) {
            ++p;
            if (*p == '+' || *p == '-') {
                neg_e = *p == '-';
                ++p;
            }
            for (; p < r.ptr; ++p) e = e * 10 + (*p - '0');
        }
        if (neg_e) e = -e;
        int int_len = e + 1;  // >= 8 here
        if (x < 0) out.push_back('-');
        if (int_len >= nd) {
            out.append(digits, static_cast<std::size_t>(nd));
            out.append(static_cast<std::size_t>(int_len - nd), '0');
        } else {
            out.append(digits, static_cast<std::size_t>(int_len));
            out.push_back('.');
            out.append(digits + int_len, static_cast<std::size_t>(nd - int_len));
        }
        return;
    }
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 8);
    const char* end = r.ptr;
    // The text holds a ".": trim trailing zeros, then a final ".".
    while (end > buf && end[-1] == '0') --end;
    if (end > buf && end[-1] == '.') --end;
    std::size_t n = static_cast<std::size_t>(end - buf);
    if (n == 2 && buf[0] == '-' && buf[1] == '0') {
        out.push_back('0');
        return;
    }
    out.append(buf, n);
}

void write_canonical(std::string& out, const json::Value& v) {
    using K = json::Value::Kind;
    switch (v.kind()) {
        case K::Null: out += "null"; return;
        case K::Bool: out += v.as_bool() ? "true" : "false"; return;
        case K::UInt: {
            char buf[24];
            auto r = std::to_chars(buf, buf + sizeof buf, v.as_uint());
            out.append(buf, r.ptr);
            return;
        }
        case K::Int: {
            char buf[24];
            auto r = std::to_chars(buf, buf + sizeof buf, v.as_int());
            out.append(buf, r.ptr);
            return;
        }
        case K::Float: write_canonical_float(out, v.as_float()); return;
        case K::String: write_json_string(out, v.as_string()); return;
        case K::Array: {
            out.push_back('[');
            bool first = true;
            for (const json::Value& e : v.as_array()) {
                if (!first) out.push_back(',');
                first = false;
                write_canonical(out, e);
            }
            out.push_back(']');
            return;
        }
        case K::Object: {
            // The tree keeps its members sorted by key bytes, each key once: that
            // is the canonical order.
            out.push_back('{');
            bool first = true;
            for (const json::Member& m : v.as_object()) {
                if (!first) out.push_back(',');
                first = false;
                write_json_string(out, m.key);
                out.push_back(':');
                write_canonical(out, m.value);
            }
            out.push_back('}');
            return;
        }
    }
}

Expected<std::string, BenchmarkError> canonical_json(const json::Value& v) {
    std::string out;
    write_canonical(out, v);
    return out;
}

std::string blake3_hex(std::string_view bytes) {
    blake3_hasher hasher;
    blake3_hasher_init(&hasher);
    blake3_hasher_update(&hasher, bytes.data(), bytes.size());
    std::uint8_t digest[BLAKE3_OUT_LEN];
    blake3_hasher_finalize(&hasher, digest, BLAKE3_OUT_LEN);
    static const char kHex[] = "0123456789abcdef";
    std::string hex(2 * BLAKE3_OUT_LEN, '0');
    for (std::size_t i = 0; i < BLAKE3_OUT_LEN; ++i) {
        hex[2 * i] = kHex[digest[i] >> 4];
        hex[2 * i + 1] = kHex[digest[i] & 0xF];
    }
    return hex;
}

}  // namespace ostrel
