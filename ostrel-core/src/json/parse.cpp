#include "json/parse.hpp"
#include "json/number.hpp"
#include "json/utf8.hpp"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>
#include <vector>

namespace ostrel::json {

std::string_view parse_message(ParseCode code) {
    switch (code) {
        case ParseCode::EofWhileParsingList: return "EOF while parsing a list";
        case ParseCode::EofWhileParsingObject: return "EOF while parsing an object";
        case ParseCode::EofWhileParsingString: return "EOF while parsing a string";
        case ParseCode::EofWhileParsingValue: return "EOF while parsing a value";
        case ParseCode::ExpectedColon: return "expected `:`";
        case ParseCode::ExpectedListCommaOrEnd: return "expected `,` or `]`";
        case ParseCode::ExpectedObjectCommaOrEnd: return "expected `,` or `}`";
        case ParseCode::ExpectedSomeIdent: return "expected ident";
        case ParseCode::ExpectedSomeValue: return "expected value";
        case ParseCode::ExpectedDoubleQuote: return "expected `\"`";
        case ParseCode::InvalidEscape: return "invalid escape";
        case ParseCode::InvalidNumber: return "invalid number";
        case ParseCode::NumberOutOfRange: return "number out of range";
        case ParseCode::InvalidUnicodeCodePoint: return "invalid unicode code point";
        case ParseCode::ControlCharacterWhileParsingString:
            return "control character (\\u0000-\\u001F) found while parsing a string";
        case ParseCode::KeyMustBeAString: return "key must be a string";
        case ParseCode::LoneLeadingSurrogateInHexEscape: return "lone leading surrogate in hex escape";
        case ParseCode::TrailingComma: return "trailing comma";
        case ParseCode::TrailingCharacters: return "trailing characters";
        case ParseCode::UnexpectedEndOfHexEscape: return "unexpected end of hex escape";
        case ParseCode::RecursionLimitExceeded: return "recursion limit exceeded";
    }
    return "";
}

std::string ParseError::display() const {
    std::string s(message());
    s += " at line ";
    s += std::to_string(line);
    s += " column ";
    s += std::to_string(column);
    return s;
}

namespace parse_detail {

inline bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

inline int hex_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

inline void push_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Bytewise unsigned key order, inlined for the short keys of records.
inline bool key_less(const std::string& a, const std::string& b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] != y[i]) return x[i] < y[i];
    }
    return a.size() < b.size();
}

// One number token, read the same way wherever the parser or a bulk reader meets
// it. On failure `code` and `peek` say what the parser reports: peek means the
// fault was found looking at the byte at p (it counts), else at the last byte taken.
class NumberScanner {
public:
    NumberScanner(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}

    bool run(Value& out) {
        const unsigned char* start = p_;
        bool negative = false;
        if (*p_ == '-') {
            negative = true;
            ++p_;
            if (p_ == end_) return error(ParseCode::EofWhileParsingValue);
        }
        std::uint64_t significand = 0;
        bool int_overflow = false;
        bool nonzero_digit = false;
        // Fast path of the float conversion: all significant digits in one u64.
        std::uint64_t mantissa = 0;
        int mantissa_digits = 0;  // digits in mantissa, leading zeros not counted
        int fraction_digits = 0;  // digits of the fraction taken into mantissa
        bool mantissa_exact = true;
        unsigned char c = *p_;
        if (c == '0') {
            ++p_;
            if (p_ < end_ && is_digit(*p_)) return peek_error(ParseCode::InvalidNumber);
        } else if (c >= '1' && c <= '9') {
            nonzero_digit = true;
            const unsigned char* digits = p_;
            // At most 19 digits always fit in 64 bits.
            std::size_t nd = number_detail::take_digits(p_, end_, significand, 19);
            if (nd == 20) {
                significand = 0;
                for (const unsigned char* q = digits; q < p_; ++q) {
                    std::uint64_t d = static_cast<std::uint64_t>(*q - '0');
                    if (significand > (std::numeric_limits<std::uint64_t>::max() - d) / 10) {
                        int_overflow = true;
                        break;
                    }
                    significand = significand * 10 + d;
                }
            } else if (nd > 20) {
                int_overflow = true;
            }
            mantissa_digits = static_cast<int>(nd);
        } else {
            ++p_;
            return error(ParseCode::InvalidNumber);
        }
        const unsigned char* int_end = p_;
        bool is_float = false;
        if (int_overflow || mantissa_digits > 19) {
            mantissa_exact = false;
        } else {
            mantissa = significand;
        }
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            if (p_ == end_) return peek_error(ParseCode::EofWhileParsingValue);
            if (!is_digit(*p_)) return peek_error(ParseCode::InvalidNumber);
            const unsigned char* frac = p_;
            // Leading zeros of "0.000123" count as digits here: conservative.
            const std::size_t room = mantissa_exact ? static_cast<std::size_t>(19 - mantissa_digits) : 0;
            std::uint64_t acc = mantissa;
            const int nfrac = static_cast<int>(number_detail::take_digits(p_, end_, acc, room));
            if (mantissa_exact && static_cast<std::size_t>(nfrac) <= room) {
                mantissa = acc;
                mantissa_digits += nfrac;
                fraction_digits = nfrac;
            } else {
                mantissa_exact = false;
            }
            if (!nonzero_digit) {
                for (const unsigned char* q = frac; q < p_; ++q) {
                    if (*q != '0') {
                        nonzero_digit = true;
                        break;
                    }
                }
            }
            is_float = true;
        }
        std::int32_t exp10 = 0;
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            bool positive_exp = true;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-')) {
                positive_exp = *p_ == '+';
                ++p_;
            }
            if (p_ == end_) return error(ParseCode::EofWhileParsingValue);
            unsigned char e0 = *p_++;
            if (!is_digit(e0)) return error(ParseCode::InvalidNumber);
            std::int32_t exp = e0 - '0';
            while (p_ < end_ && is_digit(*p_)) {
                std::int32_t d = *p_ - '0';
                ++p_;
                if (exp > (std::numeric_limits<std::int32_t>::max() - d) / 10) {
                    // The exponent itself overflows: infinity is refused at once,
                    // anything else is zero.
                    if (nonzero_digit && positive_exp) return error(ParseCode::NumberOutOfRange);
                    while (p_ < end_ && is_digit(*p_)) ++p_;
                    out = Value::number(negative ? -0.0 : 0.0);
                    return true;
                }
                exp = exp * 10 + d;
            }
            exp10 = positive_exp ? exp : -exp;
            is_float = true;
        }
        if (!is_float && !int_overflow) {
            if (!negative) {
                out = Value::uinteger(significand);
                return true;
            }
            if (significand <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) {
                if (significand == 0) {
                    out = Value::number(-0.0);
                } else {
                    // -(2^63) included: negate in unsigned arithmetic.
                    out = Value::integer(static_cast<std::int64_t>(0 - significand));
                }
                return true;
            }
        }
        if (mantissa_exact && mantissa <= (1ULL << 53)) {
            // Clinger's fast path: the mantissa and 10^|e| are exact doubles, so one
            // correctly rounded multiplication or division gives the nearest double.
            using number_detail::kPow10;
            std::int64_t e = static_cast<std::int64_t>(exp10) - fraction_digits;
            if (e >= -22 && e <= 22) {
                double m = static_cast<double>(mantissa);
                double d = e >= 0 ? m * kPow10[e] : m / kPow10[-e];
                out = Value::number(negative ? -d : d);
                return true;
            }
        }
        if (mantissa_exact && mantissa != 0) {
            double d = 0.0;
            if (number_detail::extended_product(mantissa, static_cast<std::int64_t>(exp10) - fraction_digits, d)) {
                out = Value::number(negative ? -d : d);
                return true;
            }
        }
        double d = 0.0;
        auto res = std::from_chars(reinterpret_cast<const char*>(start), reinterpret_cast<const char*>(p_), d,
                                   std::chars_format::general);
        if (res.ec == std::errc::result_out_of_range) {
            if (out_of_range_is_overflow(start, int_end)) return error(ParseCode::NumberOutOfRange);
            d = negative ? -0.0 : 0.0;
        } else if (res.ec != std::errc() || res.ptr != reinterpret_cast<const char*>(p_)) {
            // Cannot happen for text that passed the grammar above.
            return error(ParseCode::InvalidNumber);
        }
        out = Value::number(d);
        return true;
    }

    // For a number that from_chars found out of range: the decimal exponent of its
    // first significant digit decides between overflow and underflow.
    bool out_of_range_is_overflow(const unsigned char* start, const unsigned char* int_end) const {
        const unsigned char* q = start;
        if (*q == '-') ++q;
        std::int64_t int_digits = int_end - q;
        // Position of the first nonzero digit among integer and fraction digits.
        std::int64_t k = 0;
        const unsigned char* r = q;
        bool found = false;
        while (r < p_ && *r != 'e' && *r != 'E') {
            if (*r == '.') {
                ++r;
                continue;
            }
            if (*r != '0') {
                found = true;
                break;
            }
            ++k;
            ++r;
        }
        if (!found) return false;
        std::int64_t exp = 0;
        const unsigned char* e = r;
        while (e < p_ && *e != 'e' && *e != 'E') ++e;
        if (e < p_) {
            ++e;
            bool neg = false;
            if (*e == '+' || *e == '-') {
                neg = *e == '-';
                ++e;
            }
            while (e < p_) {
                if (exp < 100000000000LL) exp = exp * 10 + (*e - '0');
                ++e;
            }
            if (neg) exp = -exp;
        }
        std::int64_t magnitude = int_digits - 1 - k + exp;
        return magnitude > 0;
    }

    const unsigned char* pos() const { return p_; }
    ParseCode code() const { return code_; }
    bool peek() const { return peek_; }

private:
    bool error(ParseCode c) {
        code_ = c;
        peek_ = false;
        return false;
    }
    bool peek_error(ParseCode c) {
        code_ = c;
        peek_ = true;
        return false;
    }

    const unsigned char* p_;
    const unsigned char* end_;
    ParseCode code_ = ParseCode::InvalidNumber;
    bool peek_ = false;
};

// Objects up to this many members are ordered through a permutation.
constexpr std::size_t kSmallObject = 32;

class Parser {
public:
    explicit Parser(std::string_view text, ParseHook* hook = nullptr)
        : begin_(reinterpret_cast<const unsigned char*>(text.data())),
          p_(begin_),
          end_(begin_ + text.size()),
          hook_(hook) {}

    bool run(Value& out) {
        if (!parse_value(out, hook_ != nullptr)) return false;
        skip_ws();
        if (p_ != end_) return peek_error(ParseCode::TrailingCharacters);
        return true;
    }

    ParseError error_info() const {
        // Line and column of the error index: bytes before it, counted from the
        // last line feed before it.
        ParseError e{code_, 1, 0};
        std::size_t line = 1;
        std::size_t line_start = 0;
        for (std::size_t i = 0; i < err_index_; ++i) {
            if (begin_[i] == '\n') {
                ++line;
                line_start = i + 1;
            }
        }
        e.line = line;
        e.column = err_index_ - line_start;
        return e;
    }

private:
    // An error found in a byte already taken: the position counts up to p_.
    bool error(ParseCode c) {
        code_ = c;
        err_index_ = static_cast<std::size_t>(p_ - begin_);
        return false;
    }
    // An error found while looking at the byte at p_ (not yet taken): it counts.
    bool peek_error(ParseCode c) {
        code_ = c;
        err_index_ = static_cast<std::size_t>((p_ < end_ ? p_ + 1 : end_) - begin_);
        return false;
    }

    void skip_ws() {
        while (p_ < end_) {
            unsigned char c = *p_;
            if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
                ++p_;
            } else {
                break;
            }
        }
    }

    // hooked: the value stands at the key path path_[0..npath_) and, when it is an
    // object or an array the hook enters, offers its members to the hook.
    bool parse_value(Value& out, bool hooked = false) {
        skip_ws();
        if (p_ == end_) return peek_error(ParseCode::EofWhileParsingValue);
        switch (*p_) {
            case 'n':
                ++p_;
                if (!ident("ull", 3)) return false;
                out = Value();
                return true;
            case 't':
                ++p_;
                if (!ident("rue", 3)) return false;
                out = Value::boolean(true);
                return true;
            case 'f':
                ++p_;
                if (!ident("alse", 4)) return false;
                out = Value::boolean(false);
                return true;
            case '-':
            case '0': case '1': case '2': case '3': case '4':
            case '5': case '6': case '7': case '8': case '9':
                return parse_number(out);
            case '"': {
                ++p_;
                std::string s;
                if (!parse_string(s)) return false;
                out = Value::string(std::move(s));
                return true;
            }
            case '[': return parse_array(out, hooked && enters(true));
            case '{': return parse_object(out, hooked && enters(false));
            default: return peek_error(ParseCode::ExpectedSomeValue);
        }
    }

    bool ident(const char* rest, int n) {
        for (int i = 0; i < n; ++i) {
            if (p_ == end_) return error(ParseCode::EofWhileParsingValue);
            unsigned char c = *p_++;
            if (c != static_cast<unsigned char>(rest[i])) return error(ParseCode::ExpectedSomeIdent);
        }
        return true;
    }

    bool parse_number(Value& out) {
        NumberScanner scan(p_, end_);
        const bool ok = scan.run(out);
        p_ = scan.pos();
        if (ok) return true;
        return scan.peek() ? peek_error(scan.code()) : error(scan.code());
    }

    bool parse_string(std::string& out) {
        const unsigned char* start = p_;
        bool non_ascii = false;
        for (;;) {
            while (p_ < end_) {
                unsigned char c = *p_;
                if (c == '"' || c == '\\' || c < 0x20) break;
                non_ascii |= c >= 0x80;
                ++p_;
            }
            if (p_ == end_) return error(ParseCode::EofWhileParsingString);
            unsigned char c = *p_;
            if (c == '"') {
                out.append(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start));
                ++p_;
                if (non_ascii &&
                    !valid_utf8(reinterpret_cast<const unsigned char*>(out.data()), out.size())) {
                    return error(ParseCode::InvalidUnicodeCodePoint);
                }
                return true;
            }
            if (c == '\\') {
                out.append(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start));
                ++p_;
                if (!parse_escape(out)) return false;
                start = p_;
                continue;
            }
            ++p_;
            return error(ParseCode::ControlCharacterWhileParsingString);
        }
    }

    bool parse_escape(std::string& out) {
        if (p_ == end_) return error(ParseCode::EofWhileParsingString);
        unsigned char c = *p_++;
        switch (c) {
            case '"': out.push_back('"'); return true;
            case '\\': out.push_back('\\'); return true;
            case '/': out.push_back('/'); return true;
            case 'b': out.push_back('\b'); return true;
            case 'f': out.push_back('\f'); return true;
            case 'n': out.push_back('\n'); return true;
            case 'r': out.push_back('\r'); return true;
            case 't': out.push_back('\t'); return true;
            case 'u': return parse_unicode_escape(out);
            default: return error(ParseCode::InvalidEscape);
        }
    }

    // Four hex digits: fewer than four bytes left is EOF at the end of the text; a
    // bad digit is found once the four bytes are taken.
    bool decode_hex(std::uint32_t& n) {
        if (end_ - p_ < 4) {
            p_ = end_;
            return error(ParseCode::EofWhileParsingString);
        }
        std::uint32_t v = 0;
        bool ok = true;
        for (int i = 0; i < 4; ++i) {
            int h = hex_value(p_[i]);
            if (h < 0) ok = false;
            v = (v << 4) | static_cast<std::uint32_t>(h < 0 ? 0 : h);
        }
        p_ += 4;
        if (!ok) return error(ParseCode::InvalidEscape);
        n = v;
        return true;
    }

    bool parse_unicode_escape(std::string& out) {
        std::uint32_t n = 0;
        if (!decode_hex(n)) return false;
        if (n >= 0xDC00 && n <= 0xDFFF) return error(ParseCode::LoneLeadingSurrogateInHexEscape);
        if (n < 0xD800 || n > 0xDBFF) {
            push_utf8(out, n);
            return true;
        }
        // A leading surrogate: a trailing one must follow as \uXXXX.
        if (p_ == end_) return error(ParseCode::EofWhileParsingString);
        if (*p_ != '\\') {
            ++p_;
            return error(ParseCode::UnexpectedEndOfHexEscape);
        }
        ++p_;
        if (p_ == end_) return error(ParseCode::EofWhileParsingString);
        if (*p_ != 'u') {
            ++p_;
            return error(ParseCode::UnexpectedEndOfHexEscape);
        }
        ++p_;
        std::uint32_t n2 = 0;
        if (!decode_hex(n2)) return false;
        if (n2 < 0xDC00 || n2 > 0xDFFF) return error(ParseCode::LoneLeadingSurrogateInHexEscape);
        std::uint32_t cp = (((n - 0xD800) << 10) | (n2 - 0xDC00)) + 0x10000;
        push_utf8(out, cp);
        return true;
    }

    bool enters(bool array) {
        return depth_ < kHookDepth && hook_->enter(std::span<const std::string_view>(path_, npath_), array);
    }

    bool parse_array(Value& out, bool hooked = false) {
        if (++depth_ >= kMaxDepth) return peek_error(ParseCode::RecursionLimitExceeded);
        ++p_;
        std::size_t base = values_.size();
        skip_ws();
        if (p_ == end_) return peek_error(ParseCode::EofWhileParsingList);
        if (*p_ != ']') {
            for (;;) {
                Value elem;
                if (!parse_value(elem, hooked)) return false;
                values_.push_back(std::move(elem));
                skip_ws();
                if (p_ == end_) return peek_error(ParseCode::EofWhileParsingList);
                if (*p_ == ']') break;
                if (*p_ != ',') return peek_error(ParseCode::ExpectedListCommaOrEnd);
                ++p_;
                skip_ws();
                if (p_ == end_) return peek_error(ParseCode::EofWhileParsingValue);
                if (*p_ == ']') return peek_error(ParseCode::TrailingComma);
            }
        }
        ++p_;
        --depth_;
        Array arr;
        arr.reserve(values_.size() - base);
        for (std::size_t i = base; i < values_.size(); ++i) arr.push_back(std::move(values_[i]));
        values_.resize(base);
        out = Value::array(std::move(arr));
        return true;
    }

    bool parse_object(Value& out, bool hooked) {
        if (++depth_ >= kMaxDepth) return peek_error(ParseCode::RecursionLimitExceeded);
        ++p_;
        std::size_t base = members_.size();
        skip_ws();
        if (p_ == end_) return peek_error(ParseCode::EofWhileParsingObject);
        if (*p_ != '}') {
            for (;;) {
                if (*p_ != '"') return peek_error(ParseCode::KeyMustBeAString);
                ++p_;
                std::string key;
                if (!parse_string(key)) return false;
                skip_ws();
                if (p_ == end_) return peek_error(ParseCode::EofWhileParsingObject);
                if (*p_ != ':') return peek_error(ParseCode::ExpectedColon);
                ++p_;
                Value v;
                if (hooked && npath_ < kMaxPath) {
                    if (!hooked_value(v, key)) return false;
                } else if (!parse_value(v)) {
                    return false;
                }
                members_.push_back(Member{std::move(key), std::move(v)});
                skip_ws();
                if (p_ == end_) return peek_error(ParseCode::EofWhileParsingObject);
                if (*p_ == '}') break;
                if (*p_ != ',') return peek_error(ParseCode::ExpectedObjectCommaOrEnd);
                ++p_;
                skip_ws();
                if (p_ == end_) return peek_error(ParseCode::EofWhileParsingValue);
                if (*p_ == '}') return peek_error(ParseCode::TrailingComma);
            }
        }
        ++p_;
        --depth_;
        const std::size_t n = members_.size() - base;
        std::vector<Member> ms;
        if (n <= kSmallObject) {
            // Sort a permutation (stable insertion sort on the keys, nothing moved),
            // then move each member once, keeping the last of repeated keys.
            std::uint8_t order[kSmallObject];
            for (std::size_t i = 0; i < n; ++i) {
                std::size_t j = i;
                const std::string& k = members_[base + i].key;
                while (j > 0 && key_less(k, members_[base + order[j - 1]].key)) {
                    order[j] = order[j - 1];
                    --j;
                }
                order[j] = static_cast<std::uint8_t>(i);
            }
            Object* obj = Object::new_block(n);
            for (std::size_t i = 0; i < n; ++i) {
                Member& m = members_[base + order[i]];
                if (i + 1 < n && !key_less(m.key, members_[base + order[i + 1]].key)) continue;
                obj->push_back_unchecked(std::move(m));
            }
            members_.resize(base);
            out = Value::object_block(obj);
            return true;
        }
        ms.reserve(n);
        for (std::size_t i = base; i < members_.size(); ++i) ms.push_back(std::move(members_[i]));
        members_.resize(base);
        out = Value::object(Object::from_members(std::move(ms)));
        return true;
    }

    // A member value of an entered object: offered to the hook first.
    bool hooked_value(Value& v, const std::string& key) {
        skip_ws();
        path_[npath_++] = key;
        const char* taken = hook_->member(std::span<const std::string_view>(path_, npath_),
                                          reinterpret_cast<const char*>(p_), reinterpret_cast<const char*>(end_));
        bool ok = true;
        if (taken != nullptr) {
            p_ = reinterpret_cast<const unsigned char*>(taken);
            v = hook_->placeholder();
        } else {
            ok = parse_value(v, true);
        }
        --npath_;
        return ok;
    }

    // Hooks are offered nothing below this nesting level, so that a value taken
    // (at most 8 deep) never reaches the recursion limit.
    static constexpr int kHookDepth = 16;
    static constexpr std::size_t kMaxPath = 6;

    const unsigned char* begin_;
    const unsigned char* p_;
    const unsigned char* end_;
    ParseHook* hook_ = nullptr;
    std::string_view path_[kMaxPath];  // keys of the entered objects' members being parsed
    std::size_t npath_ = 0;
    int depth_ = 0;
    std::vector<Value> values_;    // elements of the arrays being parsed
    std::vector<Member> members_;  // members of the objects being parsed
    ParseCode code_ = ParseCode::EofWhileParsingValue;
    std::size_t err_index_ = 0;
};

}  // namespace parse_detail

Expected<Value, ParseError> parse(std::string_view text) {
    parse_detail::Parser parser(text);
    Value out;
    if (!parser.run(out)) return parser.error_info();
    return out;
}

Expected<Value, ParseError> parse(std::string_view text, ParseHook& hook) {
    parse_detail::Parser parser(text, &hook);
    Value out;
    if (!parser.run(out)) return parser.error_info();
    return out;
}

const char* read_number(const char* p, const char* end, Value& out) {
    parse_detail::NumberScanner scan(reinterpret_cast<const unsigned char*>(p),
                                     reinterpret_cast<const unsigned char*>(end));
    if (p == end || !scan.run(out)) return nullptr;
    return reinterpret_cast<const char*>(scan.pos());
}

}  // namespace ostrel::json
