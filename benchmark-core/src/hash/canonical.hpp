// Canonical JSON text and the report hash: the one writer of every
// response, of the report text that is hashed and of the expected report's text.
// No whitespace; members sorted by key bytes; floats by one fixed rule.
#pragma once

#include <string>
#include <string_view>

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

// The canonical text of a value tree. A value tree always converts, so this never
// fails; the error is part of the Part's interface (a conversion into a tree that
// meets a non-string key fails with InvalidCase "key must be a string").
Expected<std::string, BenchmarkError> canonical_json(const json::Value& v);

// BLAKE3 of the bytes, as 64 lowercase hexadecimal characters.
std::string blake3_hex(std::string_view bytes);

// The report hash: BLAKE3 of a report's canonical text .
inline std::string report_hash(std::string_view canonical_text) { return blake3_hex(canonical_text); }

}  // namespace ostrel
