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
#include <span>
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

// A reader that may take the value of a member straight from the text, for the bulk
// of a request that need not become a tree. When the text is an object, the parser
// calls `member` for each of its members, in text order, every occurrence of a
// repeated key included: `keys` holds the key path from the outermost object (the
// decoded keys; arrays on the way add none), `at` the value's first byte (whitespace
// skipped), `end` the end of the text. The hook returns the end of the value when it
// took it, and the tree then holds `placeholder()` in its place; nullptr leaves the
// value to the parser. A member's value left to the parser that is an object or an
// array is entered (its members, or its elements' members, offered in turn, with the
// same path for an array's elements) when `enter` says so; by default the members of
// the outermost object's member objects are offered, nothing deeper and no array.
// Nothing is offered below the 16th level of nesting, nor more than 6 keys deep.
//
// A hook may take only text that is exactly one well-formed JSON value whose
// arrays and objects nest at most 8 deep; on any doubt it returns nullptr, and the
// parser then reads the value itself, with its own errors and positions. Parsing
// with a hook thus fails exactly when and where parsing without one does.
class ParseHook {
public:
    virtual const char* member(std::span<const std::string_view> keys, const char* at, const char* end) = 0;
    // Whether the object (array = false) or array at this key path offers its
    // members (an array: its elements' members, or its elements' elements, ...).
    virtual bool enter(std::span<const std::string_view> keys, bool array) { return !array && keys.size() < 2; }
    // The value the tree holds in place of the one just taken.
    virtual Value placeholder() { return Value(); }

protected:
    ~ParseHook() = default;
};

Expected<Value, ParseError> parse(std::string_view text, ParseHook& hook);

// Reads the number token at p (its first byte '-' or a digit) exactly as the parser
// does: UInt, Int (negative integers) or Float, the same value and kind. Returns
// the end of the token, or nullptr where the parser would fail.
const char* read_number(const char* p, const char* end, Value& out);

}  // namespace ostrel::json
