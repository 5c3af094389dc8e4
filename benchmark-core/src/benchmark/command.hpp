// The command protocol and dispatcher: one request text in, one
// response text out. Every failure becomes the error response
// {"error": text, "ok": false}.
#pragma once

#include <string>
#include <string_view>

#include "benchmark/error.hpp"
#include "benchmark/formats.hpp"
#include "hash/canonical.hpp"
#include "indicators/expected.hpp"

namespace ostrel {

// The library version, "0.2.0".
inline constexpr std::string_view kLibraryVersion = "0.2.0";

// The response text. The error is returned only when the response cannot be
// written (the Python layer raises ValueError with its display text).
Expected<std::string, BenchmarkError> command(std::string_view request_text);
// The same text where it was written: a large response is not copied once more
// into a std::string (the Python layer copies it into its own string).
Expected<Text, BenchmarkError> command_text(std::string_view request_text);

// The request text parsed as the command parses it (parse_request; a large text
// with its candle lists and expected reports read ahead on the worker pool).
Expected<ParsedRequest, json::ParseError> parse_command_request(std::string_view request_text);

// The error response {"error": e.display(), "ok": false} as canonical text.
std::string error_response(const BenchmarkError& e);

}  // namespace ostrel
