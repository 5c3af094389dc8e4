// The command protocol and dispatcher: one request text in, one
// response text out. Every failure becomes the error response
// {"error": text, "ok": false}.
#pragma once

#include <string>
#include <string_view>

#include "benchmark/error.hpp"
#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel {

// The library version, "0.2.0".
inline constexpr std::string_view kLibraryVersion = "0.2.0";

// The response value of one request: the command's value, or the error object.
json::Value dispatch(std::string_view request_text);

// The response text. The error is returned only when the response cannot be
// written (the Python layer raises ValueError with its display text).
Expected<std::string, BenchmarkError> command(std::string_view request_text);

// The error response object {"error": e.display(), "ok": false}.
json::Value error_response(const BenchmarkError& e);

}  // namespace ostrel
