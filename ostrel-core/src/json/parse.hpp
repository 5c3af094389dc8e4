// The system's own JSON parser (RFC 8259) into the value tree of value.hpp, with
// its exact messages and positions.
//
// Positions: L counts lines from 1; C counts the bytes of that line up to and
// including the byte at which the error was found (0 when that is the start of a
// line). A fault found while looking at a byte not yet taken (trailing characters,
// expected value, `:`, `,`, key, recursion at its bracket, EOF) counts that byte; a
// fault found in a byte already taken (escapes, control characters, literals,
// numbers out of range) counts up to the last byte taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel::json {

enum class ParseCode : std::uint8_t {
    EofWhileParsingList,
    EofWhileParsingObject,
    EofWhileParsingString,
    EofWhileParsingValue,
    ExpectedColon,
    ExpectedListCommaOrEnd,
    ExpectedObjectCommaOrEnd,
    ExpectedSomeIdent,
    ExpectedSomeValue,
    ExpectedDoubleQuote,
    InvalidEscape,
    InvalidNumber,
    NumberOutOfRange,
    InvalidUnicodeCodePoint,
    ControlCharacterWhileParsingString,
    KeyMustBeAString,
    LoneLeadingSurrogateInHexEscape,
    TrailingComma,
    TrailingCharacters,
    UnexpectedEndOfHexEscape,
    RecursionLimitExceeded,
};

// The message of a code, e.g. "EOF while parsing a value".
std::string_view parse_message(ParseCode code);

struct ParseError {
    ParseCode code;
    std::size_t line = 1;
    std::size_t column = 0;

    std::string_view message() const { return parse_message(code); }
    // message + " at line L column C"
    std::string display() const;
    bool operator==(const ParseError&) const = default;
};

// Depth at which an array or object is refused (the outermost counts as 1).
inline constexpr int kMaxDepth = 128;

// Parses the whole text; only whitespace may follow the value.
Expected<Value, ParseError> parse(std::string_view text);

}  // namespace ostrel::json
