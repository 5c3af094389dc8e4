// Canonical JSON text and the report hash: the one writer of every
// response, of the report text that is hashed and of the expected report's text.
// No whitespace; members sorted by key bytes; floats by one fixed rule.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "backtest/report.hpp"
#include "benchmark/error.hpp"
#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel {

// Appends s as one JSON string literal: \" \\ \b \f \n \r \t, other bytes below
// 0x20 as \u00xx (lowercase hex); everything else (slash, DEL, non-ASCII) raw.
void write_json_string(std::string& out, std::string_view s);

// Appends the canonical float text of x (x finite; a non-finite x writes null):
// zero is 0; |x| >= 45035996.27370496 gives the shortest round-trip digits in
// positional notation; otherwise the %.8f digits, trailing zeros and a final "."
// removed, "-0" turned into "0".
void write_canonical_float(std::string& out, double x);

// Appends the canonical form of v; recursive.
void write_canonical(std::string& out, const json::Value& v);

// Appends the canonical text of a backtest report, straight from its records: the
// same bytes as the canonical text of BacktestReport::to_json(), without the tree.
void write_canonical_report(std::string& out, const BacktestReport& report);

// Whether the canonical text of v is exactly `text`: v is walked against the text,
// each piece compared where it stands, stopping at the first difference, so that
// no second text of the whole value is built.
bool canonical_text_equals(const json::Value& v, std::string_view text);

// The canonical text of the JSON value at p (its first byte), read straight from
// the text: appends to `out` exactly what write_canonical appends for json::parse of
// that value (members sorted by key bytes, a repeated key keeping its last value,
// numbers as the parser reads them written by the float rule, strings re-escaped),
// and returns the end of the value. On any doubt (anything the parser would refuse,
// arrays and objects nested more than 8 deep, a shape not handled) it returns
// nullptr and leaves `out` as it was.
const char* canonical_from_text(const char* p, const char* end, std::string& out);

// The canonical text of a value tree. A value tree always converts, so this never
// fails; the error is part of the Part's interface (a conversion into a tree that
// meets a non-string key fails with InvalidCase "key must be a string").
Expected<std::string, BenchmarkError> canonical_json(const json::Value& v);

// BLAKE3 of the bytes, as 64 lowercase hexadecimal characters.
std::string blake3_hex(std::string_view bytes);

// The report hash: BLAKE3 of a report's canonical text .
inline std::string report_hash(std::string_view canonical_text) { return blake3_hex(canonical_text); }

// A finished text: a std::string (possibly with unused room before the first
// byte), or one raw block whose bytes are not zeroed when it is allocated, so that
// several threads can fill its parts without the allocating thread touching every
// page first. A large raw block is mapped on its own and asks for huge pages: it is
// written once from end to end, and faulting it in 4 KiB pages would cost more than
// the copy.
class Text {
public:
    Text() = default;
    explicit Text(std::string s, std::size_t begin = 0) : str_(std::move(s)), begin_(begin) {}
    Text(Text&& o) noexcept { *this = std::move(o); }
    Text& operator=(Text&& o) noexcept;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { release_raw(); }

    // `size` bytes, uninitialised: every byte must be written through raw_data().
    static Text raw(std::size_t size);
    char* raw_data() { return raw_; }
    std::string_view view() const {
        if (raw_ != nullptr) return {raw_, raw_size_};
        return std::string_view(str_).substr(begin_);
    }
    // The bytes as a std::string (moved out when they fill the string from its start).
    std::string take_string() && {
        if (raw_ == nullptr && begin_ == 0) return std::move(str_);
        return std::string(view());
    }

private:
    void release_raw() noexcept;

    std::string str_;
    std::size_t begin_ = 0;
    char* raw_ = nullptr;
    std::size_t raw_size_ = 0;
    std::size_t mapped_ = 0;  // length of the mapping, 0 when raw_ came from new[]
};

}  // namespace ostrel
