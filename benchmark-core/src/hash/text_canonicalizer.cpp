// The canonical text of a JSON text, read straight from the text.
#include "hash/canonical.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hash/scalar_writers.hpp"
#include "json/number.hpp"
#include "json/parse.hpp"
#include "json/utf8.hpp"

namespace ostrel {

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

}  // namespace ostrel
