#include "json/read.hpp"
#include "json/utf8.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ostrel::json {

namespace read_detail {

// Shortest round-trip digits of a finite nonzero |x| and the decimal exponent kk
// such that |x| = 0.DIGITS * 10^kk.
void shortest_digits(double x, std::string& digits, int& kk) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    const char* p = buf;
    const char* end = r.ptr;
    digits.clear();
    while (p < end && *p != 'e') {
        if (*p != '.') digits.push_back(*p);
        ++p;
    }
    int e = 0;
    if (p < end) {
        ++p;
        bool neg = false;
        if (*p == '+' || *p == '-') {
            neg = *p == '-';
            ++p;
        }
        while (p < end) {
            e = e * 10 + (*p - '0');
            ++p;
        }
        if (neg) e = -e;
    }
    kk = e + 1;
}

}  // namespace read_detail

std::string float_digits(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
    if (x == 0.0) return std::signbit(x) ? "-0.0" : "0.0";
    std::string digits;
    int kk = 0;
    read_detail::shortest_digits(x, digits, kk);
    std::string out;
    if (x < 0) out.push_back('-');
    const int length = static_cast<int>(digits.size());
    const int k = kk - length;
    if (k >= 0 && kk <= 16) {
        out += digits;
        out.append(static_cast<std::size_t>(k), '0');
        out += ".0";
    } else if (kk > 0 && kk <= 16) {
        out.append(digits, 0, static_cast<std::size_t>(kk));
        out.push_back('.');
        out.append(digits, static_cast<std::size_t>(kk), std::string::npos);
    } else if (kk > -5 && kk <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-kk), '0');
        out += digits;
    } else {
        out.push_back(digits[0]);
        if (length > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('e');
        out += std::to_string(kk - 1);
    }
    return out;
}

namespace read_detail {

#include "json/nonprintable.inc"

// True for a code point that debug quoting writes as \u{hex}.
inline bool non_printable(std::uint32_t cp) {
    std::size_t lo = 0;
    std::size_t hi = sizeof kNonPrintableRanges / sizeof kNonPrintableRanges[0];
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (cp < kNonPrintableRanges[mid][0]) {
            hi = mid;
        } else if (cp > kNonPrintableRanges[mid][1]) {
            lo = mid + 1;
        } else {
            return true;
        }
    }
    return false;
}

}  // namespace read_detail

std::string debug_quote(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out.push_back('"');
    const auto* b = reinterpret_cast<const unsigned char*>(s.data());
    std::size_t n = s.size();
    char hex[16];
    for (std::size_t i = 0; i < n;) {
        unsigned char c = b[i];
        switch (c) {
            case '\t': out += "\\t"; ++i; continue;
            case '\r': out += "\\r"; ++i; continue;
            case '\n': out += "\\n"; ++i; continue;
            case '\0': out += "\\0"; ++i; continue;
            case '"': out += "\\\""; ++i; continue;
            case '\\': out += "\\\\"; ++i; continue;
            default: break;
        }
        std::uint32_t cp = 0;
        std::size_t len = decode_utf8(b, n, i, cp);
        if (len == 0) {
            // Not well-formed UTF-8 (only text that did not come through the
            // parser): the byte is copied as it stands.
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (read_detail::non_printable(cp)) {
            // Controls, format characters, separators other than the space,
            // private-use and unassigned code points.
            std::snprintf(hex, sizeof hex, "\\u{%x}", static_cast<unsigned>(cp));
            out += hex;
        } else {
            out.append(reinterpret_cast<const char*>(b + i), len);
        }
        i += len;
    }
    out.push_back('"');
    return out;
}

std::string describe(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null: return "null";
        case Value::Kind::Bool: return v.as_bool() ? "boolean `true`" : "boolean `false`";
        case Value::Kind::UInt: return "integer `" + std::to_string(v.as_uint()) + "`";
        case Value::Kind::Int: return "integer `" + std::to_string(v.as_int()) + "`";
        case Value::Kind::Float: return "floating point `" + float_digits(v.as_float()) + "`";
        case Value::Kind::String: return "string " + debug_quote(v.as_string());
        case Value::Kind::Array: return "sequence";
        case Value::Kind::Object: return "map";
    }
    return "";
}

ReadError invalid_type_desc(std::string_view found, std::string_view expected) {
    std::string m = "invalid type: ";
    m += found;
    m += ", expected ";
    m += expected;
    return {std::move(m)};
}

ReadError invalid_type(const Value& found, std::string_view expected) {
    return invalid_type_desc(describe(found), expected);
}

ReadError invalid_value_desc(std::string_view found, std::string_view expected) {
    std::string m = "invalid value: ";
    m += found;
    m += ", expected ";
    m += expected;
    return {std::move(m)};
}

ReadError invalid_value(const Value& found, std::string_view expected) {
    return invalid_value_desc(describe(found), expected);
}

ReadError invalid_length(std::size_t count, std::string_view expected) {
    std::string m = "invalid length ";
    m += std::to_string(count);
    m += ", expected ";
    m += expected;
    return {std::move(m)};
}

ReadError missing_field(std::string_view key) {
    std::string m = "missing field `";
    m += key;
    m += "`";
    return {std::move(m)};
}

std::string one_of(std::span<const std::string_view> names) {
    std::string m;
    if (names.size() == 1) {
        m += "`";
        m += names[0];
        m += "`";
    } else if (names.size() == 2) {
        m += "`";
        m += names[0];
        m += "` or `";
        m += names[1];
        m += "`";
    } else {
        m += "one of ";
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0) m += ", ";
            m += "`";
            m += names[i];
            m += "`";
        }
    }
    return m;
}

ReadError unknown_variant(std::string_view name, std::span<const std::string_view> names) {
    std::string m = "unknown variant `";
    m += name;
    if (names.empty()) {
        m += "`, there are no variants";
    } else {
        m += "`, expected ";
        m += one_of(names);
    }
    return {std::move(m)};
}

ReadError unknown_field(std::string_view name, std::span<const std::string_view> names) {
    std::string m = "unknown field `";
    m += name;
    if (names.empty()) {
        m += "`, there are no fields";
    } else {
        m += "`, expected ";
        m += one_of(names);
    }
    return {std::move(m)};
}

Fault read_string(Value& v, std::string& out) {
    if (!v.is_string()) return invalid_type(v, "a string");
    out = std::move(v.as_string());
    return {};
}

Fault read_f64(const Value& v, double& out) {
    if (!v.is_number()) return invalid_type(v, "f64");
    out = v.to_f64();
    return {};
}

Fault read_u32(const Value& v, std::uint32_t& out) {
    if (v.is_uint()) {
        if (v.as_uint() > std::numeric_limits<std::uint32_t>::max()) return invalid_value(v, "u32");
        out = static_cast<std::uint32_t>(v.as_uint());
        return {};
    }
    if (v.is_int()) return invalid_value(v, "u32");
    return invalid_type(v, "u32");
}

Fault read_u64(const Value& v, std::uint64_t& out) {
    if (v.is_uint()) {
        out = v.as_uint();
        return {};
    }
    if (v.is_int()) return invalid_value(v, "u64");
    return invalid_type(v, "u64");
}

Fault read_i64(const Value& v, std::int64_t& out) {
    if (v.is_int()) {
        out = v.as_int();
        return {};
    }
    if (v.is_uint()) {
        if (v.as_uint() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return invalid_value(v, "i64");
        }
        out = static_cast<std::int64_t>(v.as_uint());
        return {};
    }
    return invalid_type(v, "i64");
}

Fault read_bool(const Value& v, bool& out) {
    if (!v.is_bool()) return invalid_type(v, "a boolean");
    out = v.as_bool();
    return {};
}

Fault read_f64_list(Value& v, std::vector<double>& out) {
    if (!v.is_array()) return invalid_type(v, "a sequence");
    const Array& a = v.as_array();
    std::vector<double> tmp;
    tmp.reserve(a.size());
    for (const Value& x : a) {
        if (!x.is_number()) return invalid_type(x, "f64");
        tmp.push_back(x.to_f64());
    }
    out = std::move(tmp);
    return {};
}

namespace read_detail {

std::vector<std::string_view> field_keys(const RecordShape& shape) {
    std::vector<std::string_view> keys;
    keys.reserve(shape.fields.size());
    for (const Field& f : shape.fields) keys.push_back(f.key);
    return keys;
}

}  // namespace read_detail

Fault read_record_object_with(Object& o, const RecordShape& shape, FieldReader read_field) {
    const std::size_t nf = shape.fields.size();
    // Fields seen; records have few fields, a small vector of flags will do.
    bool seen_small[64] = {};
    std::vector<bool> seen_big;
    if (nf > 64) seen_big.assign(nf, false);
    for (Member& m : o) {
        std::size_t idx = nf;
        const std::size_t klen = m.key.size();
        const char* kdata = m.key.data();
        for (std::size_t i = 0; i < nf; ++i) {
            const std::string_view f = shape.fields[i].key;
            if (f.size() != klen) continue;
            std::size_t j = 0;
            while (j < klen && f[j] == kdata[j]) ++j;
            if (j == klen) {
                idx = i;
                break;
            }
        }
        if (idx == nf) {
            if (shape.deny_unknown) {
                auto keys = read_detail::field_keys(shape);
                return unknown_field(m.key, keys);
            }
            continue;
        }
        if (nf > 64) {
            seen_big[idx] = true;
        } else {
            seen_small[idx] = true;
        }
        if (Fault f = read_field(idx, m.value)) return f;
    }
    for (std::size_t i = 0; i < nf; ++i) {
        bool seen = nf > 64 ? static_cast<bool>(seen_big[i]) : seen_small[i];
        if (!seen && shape.fields[i].required) return missing_field(shape.fields[i].key);
    }
    return {};
}

Fault read_record_elements_with(std::span<Value> elements, const RecordShape& shape, FieldReader read_field) {
    const std::size_t nf = shape.fields.size();
    for (std::size_t i = 0; i < nf; ++i) {
        if (i < elements.size()) {
            if (Fault f = read_field(i, elements[i])) return f;
        } else if (shape.fields[i].required) {
            return invalid_length(i, shape.count_text);
        }
    }
    if (elements.size() > nf) return invalid_length(elements.size(), shape.surplus_text);
    return {};
}

Fault read_record_with(Value& v, const RecordShape& shape, FieldReader read_field) {
    if (v.is_object()) return read_record_object_with(v.as_object(), shape, read_field);
    if (v.is_array() && shape.allow_array) {
        Array& a = v.as_array();
        return read_record_elements_with(std::span<Value>(a.data(), a.size()), shape, read_field);
    }
    return invalid_type(v, shape.name);
}

namespace read_detail {

bool find_name(std::span<const std::string_view> names, std::string_view name, std::size_t& out) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            out = i;
            return true;
        }
    }
    return false;
}

}  // namespace read_detail

Fault read_variant_key(Value& v, std::span<const std::string_view> names, VariantKey& out) {
    if (v.is_string()) {
        std::size_t idx = 0;
        if (!read_detail::find_name(names, v.as_string(), idx)) return unknown_variant(v.as_string(), names);
        out.index = idx;
        out.payload = nullptr;
        return {};
    }
    if (v.is_object()) {
        Object& o = v.as_object();
        if (o.size() != 1) return invalid_value_desc("map", "map with a single key");
        std::size_t idx = 0;
        if (!read_detail::find_name(names, o[0].key, idx)) return unknown_variant(o[0].key, names);
        out.index = idx;
        out.payload = &o[0].value;
        return {};
    }
    return invalid_type(v, "string or map");
}

Fault read_unit_enum(Value& v, std::span<const std::string_view> names, std::string_view unit_text,
                     std::size_t& out) {
    VariantKey key;
    if (Fault f = read_variant_key(v, names, key)) return f;
    if (key.payload != nullptr && !key.payload->is_null()) return invalid_type(*key.payload, unit_text);
    out = key.index;
    return {};
}

Fault read_internal_tag(Value& v, std::string_view enum_name, std::string_view tag,
                        std::span<const std::string_view> names, std::size_t& out) {
    const Value* t = nullptr;
    if (v.is_object()) {
        t = v.as_object().find(tag);
    } else if (v.is_array()) {
        if (!v.as_array().empty()) t = &v.as_array()[0];
    } else {
        return invalid_type(v, enum_name);
    }
    if (t == nullptr) return missing_field(tag);
    if (!t->is_string()) return invalid_type(*t, "variant identifier");
    std::size_t idx = 0;
    if (!read_detail::find_name(names, t->as_string(), idx)) return unknown_variant(t->as_string(), names);
    out = idx;
    return {};
}

}  // namespace ostrel::json
