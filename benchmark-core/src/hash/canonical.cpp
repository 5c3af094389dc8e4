#include "hash/canonical.hpp"

#include <blake3.h>
#include <sys/mman.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "json/number.hpp"
#include "json/parse.hpp"
#include "json/utf8.hpp"

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

// Decimal digits of v, no leading zeros (v = 0 writes "0"), written in place from
// the last pair of digits back.
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

char* write_int(char* p, std::int64_t v) {
    if (v < 0) {
        *p++ = '-';
        return write_uint(p, 0 - static_cast<std::uint64_t>(v));
    }
    return write_uint(p, static_cast<std::uint64_t>(v));
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

// The canonical text of a float at p (room for 400 bytes); returns its end.
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

void write_canonical(std::string& out, const json::Value& v) {
    using K = json::Value::Kind;
    switch (v.kind()) {
        case K::Null: out += "null"; return;
        case K::Bool: out += v.as_bool() ? "true" : "false"; return;
        case K::UInt: {
            char buf[24];
            out.append(buf, canonical_detail::write_uint(buf, v.as_uint()));
            return;
        }
        case K::Int: {
            char buf[24];
            out.append(buf, canonical_detail::write_int(buf, v.as_int()));
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

namespace canonical_detail {

// The canonical text of a JSON text, written while it is read: the grammar is the
// parser's, and every piece is written as the canonical writer writes the parser's
// value of it. Members are written in text order and, only when their keys are not
// already strictly ascending, rearranged at the object's end. Anything the parser
// would refuse, or that this reader does not handle, is declined (nullptr).
class TextCanonicalizer {
public:
    TextCanonicalizer(const char* end, std::string& out) : end_(end), out_(out) {}

    const char* value(const char* p, int depth) {
        if (p == end_) return nullptr;
        switch (*p) {
            case '{': return object(p, depth + 1);
            case '[': return array(p, depth + 1);
            case '"': {
                key_.clear();
                const char* q = string(p, key_);
                if (q != nullptr) put_string(p, q, key_);
                return q;
            }
            case 't': return literal(p, "true", 4);
            case 'f': return literal(p, "false", 5);
            case 'n': return literal(p, "null", 4);
            default: return number(p);
        }
    }

    const char* skip_ws(const char* p) const {
        while (p < end_ && (*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r')) ++p;
        return p;
    }

private:
    struct Slot {
        std::string key;
        std::size_t begin;  // first byte of the member ("key":value) in out_
        std::size_t end;
    };

    static constexpr int kMaxNesting = 8;

    // A string read from [p, q) that decoded to s: written as it stands when it has
    // no escape (its bytes are then those the canonical writer writes: no control
    // byte, quote or backslash is left unescaped), else re-escaped.
    void put_string(const char* p, const char* q, const std::string& s) {
        if (static_cast<std::size_t>(q - p) == s.size() + 2) {
            out_.append(p, static_cast<std::size_t>(q - p));
        } else {
            write_json_string(out_, s);
        }
    }

    const char* literal(const char* p, const char* word, std::size_t n) {
        if (static_cast<std::size_t>(end_ - p) < n || std::memcmp(p, word, n) != 0) return nullptr;
        out_.append(word, n);
        return p + n;
    }

    const char* number(const char* p) {
        using json::number_detail::is_digit;
        const char* q = p;
        const bool negative = q < end_ && *q == '-';
        if (negative) ++q;
        const char* digits = q;
        while (q < end_ && is_digit(static_cast<unsigned char>(*q))) ++q;
        const std::size_t nd = static_cast<std::size_t>(q - digits);
        const bool more = q < end_ && (*q == '.' || *q == 'e' || *q == 'E');
        // An integer of up to 18 digits without a leading zero is a UInt or an Int
        // whose canonical text is its token.
        if (!more && nd >= 1 && nd <= 18 && (*digits != '0' || (nd == 1 && !negative))) {
            out_.append(p, static_cast<std::size_t>(q - p));
            return q;
        }
        if (more && *q == '.') {
            if (const char* r = fixed_as_written(p, q, nd)) return r;
            double d;
            if (const char* r = json::number_detail::read_plain_f64(p, end_, d)) {
                char buf[400];
                out_.append(buf, static_cast<std::size_t>(write_float(buf, d) - buf));
                return r;
            }
        }
        json::Value v;
        const char* r = json::read_number(p, end_, v);
        if (r == nullptr) return nullptr;
        write_canonical(out_, v);
        return r;
    }

    // A decimal already in the canonical form of its value, copied as it stands:
    // an integer part "0" or of at most 8 digits below 45035996 (so |x| < 2^26),
    // then 1 to 8 fraction digits, the last not 0, and no exponent. The parser's
    // double x of such a decimal d lies within half an ulp of it, at most 2^-28 <
    // 0.5e-8, so x rounded to eight decimals is d and its canonical text is d's
    // digits. q is at the '.', nd the integer part's digit count; nullptr when the
    // token is of another form.
    const char* fixed_as_written(const char* p, const char* q, std::size_t nd) const {
        using json::number_detail::is_digit;
        const char* digits = q - nd;
        if (nd == 0 || nd > 8 || (*digits == '0' && nd > 1)) return nullptr;
        if (nd == 8 && std::memcmp(digits, "45035996", 8) >= 0) return nullptr;
        const char* f = q + 1;
        const char* r = f;
        while (r < end_ && is_digit(static_cast<unsigned char>(*r))) ++r;
        const std::size_t nf = static_cast<std::size_t>(r - f);
        if (nf == 0 || nf > 8 || r[-1] == '0') return nullptr;
        if (r < end_ && (*r == 'e' || *r == 'E')) return nullptr;
        (void)p;
        out_.append(p, static_cast<std::size_t>(r - p));
        return r;
    }

    static void push_utf8(std::string& s, std::uint32_t cp) {
        if (cp < 0x80) {
            s.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    const char* hex4(const char* p, std::uint32_t& n) const {
        if (end_ - p < 4) return nullptr;
        n = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = p[i];
            int h;
            if (c >= '0' && c <= '9') {
                h = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                h = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                h = c - 'A' + 10;
            } else {
                return nullptr;
            }
            n = (n << 4) | static_cast<std::uint32_t>(h);
        }
        return p + 4;
    }

    // The decoded bytes of the string at p ('"'), as the parser decodes them.
    const char* string(const char* p, std::string& s) const {
        ++p;
        bool non_ascii = false;
        const char* run = p;
        for (;;) {
            while (p < end_) {
                const auto c = static_cast<unsigned char>(*p);
                if (c == '"' || c == '\\' || c < 0x20) break;
                non_ascii |= c >= 0x80;
                ++p;
            }
            if (p == end_ || static_cast<unsigned char>(*p) < 0x20) return nullptr;
            s.append(run, static_cast<std::size_t>(p - run));
            if (*p == '"') {
                ++p;
                break;
            }
            ++p;  // the backslash
            if (p == end_) return nullptr;
            switch (*p++) {
                case '"': s.push_back('"'); break;
                case '\\': s.push_back('\\'); break;
                case '/': s.push_back('/'); break;
                case 'b': s.push_back('\b'); break;
                case 'f': s.push_back('\f'); break;
                case 'n': s.push_back('\n'); break;
                case 'r': s.push_back('\r'); break;
                case 't': s.push_back('\t'); break;
                case 'u': {
                    std::uint32_t n;
                    p = hex4(p, n);
                    if (p == nullptr || (n >= 0xDC00 && n <= 0xDFFF)) return nullptr;
                    if (n >= 0xD800 && n <= 0xDBFF) {
                        std::uint32_t n2;
                        if (end_ - p < 2 || p[0] != '\\' || p[1] != 'u') return nullptr;
                        p = hex4(p + 2, n2);
                        if (p == nullptr || n2 < 0xDC00 || n2 > 0xDFFF) return nullptr;
                        n = (((n - 0xD800) << 10) | (n2 - 0xDC00)) + 0x10000;
                    }
                    push_utf8(s, n);
                    break;
                }
                default: return nullptr;
            }
            run = p;
        }
        if (non_ascii && !json::valid_utf8(reinterpret_cast<const unsigned char*>(s.data()), s.size())) {
            return nullptr;
        }
        return p;
    }

    const char* array(const char* p, int depth) {
        if (depth > kMaxNesting) return nullptr;
        out_.push_back('[');
        p = skip_ws(p + 1);
        if (p < end_ && *p == ']') {
            out_.push_back(']');
            return p + 1;
        }
        for (;;) {
            p = value(p, depth);
            if (p == nullptr) return nullptr;
            p = skip_ws(p);
            if (p == end_) return nullptr;
            if (*p == ']') break;
            if (*p != ',') return nullptr;
            out_.push_back(',');
            p = skip_ws(p + 1);
            if (p < end_ && *p == ']') return nullptr;
        }
        out_.push_back(']');
        return p + 1;
    }

    const char* object(const char* p, int depth) {
        if (depth > kMaxNesting) return nullptr;
        out_.push_back('{');
        p = skip_ws(p + 1);
        if (p < end_ && *p == '}') {
            out_.push_back('}');
            return p + 1;
        }
        const std::size_t base = slots_.size();
        bool ascending = true;
        for (;;) {
            if (p == end_ || *p != '"') return nullptr;
            if (slots_.size() > base) out_.push_back(',');
            Slot slot{std::string(), out_.size(), 0};
            const char* q = string(p, slot.key);
            if (q == nullptr) return nullptr;
            put_string(p, q, slot.key);
            p = q;
            p = skip_ws(p);
            if (p == end_ || *p != ':') return nullptr;
            out_.push_back(':');
            p = value(skip_ws(p + 1), depth);
            if (p == nullptr) return nullptr;
            slot.end = out_.size();
            if (slots_.size() > base && !(slots_.back().key < slot.key)) ascending = false;
            slots_.push_back(std::move(slot));
            p = skip_ws(p);
            if (p == end_) return nullptr;
            if (*p == '}') break;
            if (*p != ',') return nullptr;
            p = skip_ws(p + 1);
            if (p < end_ && *p == '}') return nullptr;
        }
        if (!ascending) reorder(base);
        slots_.resize(base);
        out_.push_back('}');
        return p + 1;
    }

    // The members from slots_[base] on, rewritten in key order, the last of each
    // repeated key kept.
    void reorder(std::size_t base) {
        const std::size_t n = slots_.size() - base;
        const std::size_t start = slots_[base].begin;
        const std::string members(out_, start);
        std::vector<std::size_t> order(n);
        for (std::size_t i = 0; i < n; ++i) order[i] = base + i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return slots_[a].key < slots_[b].key; });
        out_.resize(start);
        bool first = true;
        for (std::size_t i = 0; i < n; ++i) {
            const Slot& s = slots_[order[i]];
            if (i + 1 < n && slots_[order[i + 1]].key == s.key) continue;
            if (!first) out_.push_back(',');
            first = false;
            out_.append(members, s.begin - start, s.end - s.begin);
        }
    }

    const char* end_;
    std::string& out_;
    std::vector<Slot> slots_;  // members of the objects being read
    std::string key_;          // a string value's decoded bytes
};

}  // namespace canonical_detail

const char* canonical_from_text(const char* p, const char* end, std::string& out) {
    const std::size_t size = out.size();
    canonical_detail::TextCanonicalizer reader(end, out);
    const char* q = reader.value(p, 0);
    if (q == nullptr) out.resize(size);
    return q;
}

Expected<std::string, BenchmarkError> canonical_json(const json::Value& v) {
    std::string out;
    write_canonical(out, v);
    return out;
}

namespace canonical_detail {

// Appends a literal.
template <std::size_t N>
char* put(char* p, const char (&lit)[N]) {
    std::memcpy(p, lit, N - 1);
    return p + (N - 1);
}

// One equity point: {"equity":F,"time":I}. At most 14 + 400 + 20 bytes.
char* write_equity_point(char* p, const EquityPoint& e) {
    p = put(p, "{\"equity\":");
    p = write_float(p, e.equity);
    p = put(p, ",\"time\":");
    p = write_int(p, e.time);
    *p++ = '}';
    return p;
}

void append_float_member(std::string& out, std::string_view key_and_colon, double x) {
    out.append(key_and_colon);
    write_canonical_float(out, x);
}

}  // namespace canonical_detail

void write_canonical_report(std::string& out, const BacktestReport& r) {
    using namespace canonical_detail;
    // Members in the byte order of their keys, as the canonical writer sorts them:
    // equity, fees_paid, initial_capital, metrics, schema_version, symbol,
    // timeframe, trades; inside an equity point equity, time; inside a trade
    // entry_price, entry_time, exit_price, exit_time, pnl, qty, reason, return_pct;
    // inside the metrics calmar, max_drawdown, num_trades, pnl, profit_factor,
    // return_pct, sharpe, sortino, win_rate.
    out.reserve(out.size() + 256 + 40 * r.equity.size() + 200 * r.trades.size());
    out += "{\"equity\":[";
    // Points are written into a local block and appended a block at a time.
    char block[8192];
    char* p = block;
    bool first = true;
    for (const EquityPoint& e : r.equity) {
        if (p - block > static_cast<std::ptrdiff_t>(sizeof block) - 480) {
            out.append(block, static_cast<std::size_t>(p - block));
            p = block;
        }
        if (!first) *p++ = ',';
        first = false;
        p = write_equity_point(p, e);
    }
    out.append(block, static_cast<std::size_t>(p - block));
    out += ']';
    append_float_member(out, ",\"fees_paid\":", r.fees_paid);
    append_float_member(out, ",\"initial_capital\":", r.initial_capital);
    const Metrics& m = r.metrics;
    append_float_member(out, ",\"metrics\":{\"calmar\":", m.calmar);
    append_float_member(out, ",\"max_drawdown\":", m.max_drawdown);
    {
        char buf[24];
        out += ",\"num_trades\":";
        out.append(buf, write_uint(buf, m.num_trades));
    }
    append_float_member(out, ",\"pnl\":", m.pnl);
    append_float_member(out, ",\"profit_factor\":", m.profit_factor);
    append_float_member(out, ",\"return_pct\":", m.return_pct);
    append_float_member(out, ",\"sharpe\":", m.sharpe);
    append_float_member(out, ",\"sortino\":", m.sortino);
    append_float_member(out, ",\"win_rate\":", m.win_rate);
    {
        char buf[24];
        out += "},\"schema_version\":";
        out.append(buf, write_uint(buf, r.schema_version));
    }
    out += ",\"symbol\":";
    write_json_string(out, r.symbol);
    out += ",\"timeframe\":";
    write_json_string(out, r.timeframe);
    out += ",\"trades\":[";
    first = true;
    for (const ClosedTrade& t : r.trades) {
        char buf[24];
        out += first ? "{" : ",{";
        first = false;
        append_float_member(out, "\"entry_price\":", t.entry_price);
        out += ",\"entry_time\":";
        out.append(buf, write_int(buf, t.entry_time));
        append_float_member(out, ",\"exit_price\":", t.exit_price);
        out += ",\"exit_time\":";
        out.append(buf, write_int(buf, t.exit_time));
        append_float_member(out, ",\"pnl\":", t.pnl);
        append_float_member(out, ",\"qty\":", t.qty);
        out += ",\"reason\":";
        write_json_string(out, t.reason);
        append_float_member(out, ",\"return_pct\":", t.return_pct);
        out += '}';
    }
    out += "]}";
}

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

Text& Text::operator=(Text&& o) noexcept {
    if (this != &o) {
        release_raw();
        str_ = std::move(o.str_);
        begin_ = o.begin_;
        raw_ = o.raw_;
        raw_size_ = o.raw_size_;
        mapped_ = o.mapped_;
        o.raw_ = nullptr;
        o.raw_size_ = 0;
        o.mapped_ = 0;
    }
    return *this;
}

Text Text::raw(std::size_t size) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    Text t;
    t.raw_size_ = size;
    if (size >= 2 * kHuge) {
        // Mapped with one spare huge page, the part before the first aligned address
        // and after the last whole huge page given back, so that every huge page the
        // block spans can be backed by one.
        const std::size_t length = (size + kHuge - 1) / kHuge * kHuge;
        void* p = mmap(nullptr, length + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            const auto start = reinterpret_cast<std::uintptr_t>(p);
            const std::uintptr_t aligned = (start + kHuge - 1) / kHuge * kHuge;
            if (aligned > start) munmap(p, aligned - start);
            const std::size_t tail = kHuge - (aligned - start);
            if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
            madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);  // advice: refused, pages stay 4 KiB
            t.raw_ = reinterpret_cast<char*>(aligned);
            t.mapped_ = length;
            return t;
        }
    }
    t.raw_ = new char[size == 0 ? 1 : size];
    return t;
}

void Text::release_raw() noexcept {
    if (raw_ == nullptr) return;
    if (mapped_ != 0) {
        munmap(raw_, mapped_);
    } else {
        delete[] raw_;
    }
    raw_ = nullptr;
    raw_size_ = 0;
    mapped_ = 0;
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
