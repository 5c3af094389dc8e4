// Typed reading from the JSON value tree, with the fixed message shapes of every
// reading fault:
//   "invalid type: " + D + ", expected " + W
//   "invalid value: " + D + ", expected " + W
//   "invalid length " + N + ", expected " + W
//   "missing field `k`"
//   "unknown variant `x`, expected one of `a`, `b`, `c`"   (two names: "`a` or `b`")
//   "unknown field `k`, expected one of `a`, `b`, ..."
// D is describe(value): "null", "boolean `true`", "integer `-1`",
// "floating point `5.0`" (shortest round-trip digits, ".0" on whole values,
// exponent form outside 1e-5 <= |x| < 1e16: "1e20", "1.5e-7"),
// "string \"a\\\"b\"" (debug quoting), "sequence", "map".
//
// HOW TO WRITE A RECORD READER
// ----------------------------
// Every reader returns a Fault: an empty optional on success, else the first
// fault's ReadError (its .message is the whole text). Readers take the value by
// non-const reference and may move strings and subtrees out of it.
//
//   struct Costs { double maker_bps = 0, taker_bps = 0; Slippage slippage; bool funding = false; };
//
//   Fault read_costs(Value& v, Costs& out) {
//       static constexpr Field fields[] = {
//           {"maker_bps", false}, {"taker_bps", false}, {"slippage", false}, {"funding", false}};
//       static constexpr RecordShape shape{"struct Costs", "", fields};
//       out = Costs{};  // defaults first: absent non-required fields keep them
//       return read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
//           switch (i) {
//               case 0: return read_f64(x, out.maker_bps);
//               case 1: return read_f64(x, out.taker_bps);
//               case 2: return read_slippage(x, out.slippage);
//               default: return read_bool(x, out.funding);
//           }
//       });
//   }
//
// read_record then does:
//   - object: members visited in key-byte order (the tree's order); a known key
//     calls your lambda with the field index (first fault wins); an unknown key is
//     skipped, or fails with "unknown field" when shape.deny_unknown; afterwards the
//     first absent required field in declaration order gives "missing field".
//   - array (unless shape.allow_array is false): element k is field k; when the
//     array ends before a required field k: "invalid length k, expected " +
//     count_text; surplus elements: "invalid length LEN, expected " + surplus_text
//     ("fewer elements in array" by default).
//   - anything else: "invalid type: D, expected " + shape.name.
// Optional fields: Field{"key", false} plus read_optional(x, out.field, read_f64)
// (null gives none). Lists: read_seq / read_f64_list; maps: read_map.
// Enums: read_unit_enum (string or {"name": null}); externally tagged unions
// (conditions): read_variant_key; internally tagged unions (Sizing, Slippage):
// read_internal_tag, then read_record_object / read_record_elements on the rest
// with the variant's RecordShape (count_text "struct variant Sizing::VolTarget with
// 2 elements", surplus_text "2 elements in sequence"). Fixed-size tuples:
// read_tuple (W "a tuple of size 2").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "indicators/expected.hpp"
#include "json/value.hpp"

namespace ostrel::json {

// The error of typed reading: the whole message, no position.
struct ReadError {
    std::string message;
    bool operator==(const ReadError&) const = default;
};

// No fault (empty) or the first fault.
using Fault = std::optional<ReadError>;

template <class T>
using Read = Expected<T, ReadError>;

// ---- descriptions ----------------------------------------------------------

// D, the description of a value found.
std::string describe(const Value& v);
// The digits of a float as D shows them: "5.0", "1000.0", "1e20", "1.5e-7", "-0.0".
std::string float_digits(double x);
// The text between double quotes with quote and backslash escaped, \t \r \n \0
// for those controls, and \u{hex} for every other non-printable character
// (controls, format characters, separators other than the space, private-use and
// unassigned code points), as debug quoting does.
std::string debug_quote(std::string_view s);

// ---- message shapes --------------------------------------------------------

ReadError invalid_type(const Value& found, std::string_view expected);
ReadError invalid_type_desc(std::string_view found, std::string_view expected);
ReadError invalid_value(const Value& found, std::string_view expected);
ReadError invalid_value_desc(std::string_view found, std::string_view expected);
ReadError invalid_length(std::size_t count, std::string_view expected);
ReadError missing_field(std::string_view key);
ReadError unknown_variant(std::string_view name, std::span<const std::string_view> names);
ReadError unknown_field(std::string_view name, std::span<const std::string_view> names);
// "`a`", "`a` or `b`", "one of `a`, `b`, `c`".
std::string one_of(std::span<const std::string_view> names);

// ---- scalars -------------------------------------------------------------

Fault read_string(Value& v, std::string& out);          // W "a string"
Fault read_f64(const Value& v, double& out);             // any number; W "f64"
Fault read_u32(const Value& v, std::uint32_t& out);      // W "u32"
Fault read_u64(const Value& v, std::uint64_t& out);      // W "u64"
Fault read_i64(const Value& v, std::int64_t& out);       // W "i64"
Fault read_bool(const Value& v, bool& out);              // W "a boolean"
// Any value, moved out as it stands.
inline Fault read_any(Value& v, Value& out) {
    out = std::move(v);
    return {};
}

// null gives none; anything else goes through `read`.
template <class T, class R>
Fault read_optional(Value& v, std::optional<T>& out, R&& read) {
    if (v.is_null()) {
        out.reset();
        return {};
    }
    T tmp{};
    if (Fault f = read(v, tmp)) return f;
    out = std::move(tmp);
    return {};
}

// An array, each element through `read_element(index, element)` in order.
// Not an array: "invalid type: D, expected a sequence".
template <class F>
Fault read_seq(Value& v, F&& read_element) {
    if (!v.is_array()) return invalid_type(v, "a sequence");
    Array& a = v.as_array();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fault f = read_element(i, a[i])) return f;
    }
    return {};
}

// An array of numbers: "a sequence", then "f64" per element.
Fault read_f64_list(Value& v, std::vector<double>& out);

// An object, each member through `read_member(key, value)` in key-byte order.
// Not an object: "invalid type: D, expected a map".
template <class F>
Fault read_map(Value& v, F&& read_member) {
    if (!v.is_object()) return invalid_type(v, "a map");
    for (Member& m : v.as_object()) {
        if (Fault f = read_member(static_cast<const std::string&>(m.key), m.value)) return f;
    }
    return {};
}

// A fixed-size tuple written as an array of exactly n elements, `expected` being
// e.g. "a tuple of size 2": not an array: invalid type; element faults in order;
// too few: "invalid length K, expected " + expected (K elements present); too many:
// "invalid length LEN, expected fewer elements in array".
template <class F>
Fault read_tuple(Value& v, std::size_t n, std::string_view expected, F&& read_element) {
    if (!v.is_array()) return invalid_type(v, expected);
    Array& a = v.as_array();
    for (std::size_t i = 0; i < n; ++i) {
        if (i >= a.size()) return invalid_length(i, expected);
        if (Fault f = read_element(i, a[i])) return f;
    }
    if (a.size() > n) return invalid_length(a.size(), "fewer elements in array");
    return {};
}

// ---- records ---------------------------------------------------------------

struct Field {
    std::string_view key;
    bool required;  // false: an absent member keeps the default already in place
};

struct RecordShape {
    std::string_view name;        // W when the value is neither object nor array
    std::string_view count_text;  // W when an array ends before a required field
    std::span<const Field> fields;
    bool deny_unknown = false;  // an unknown member fails ("unknown field"), as in a case
    bool allow_array = true;    // false: only the object form (StrategySpec)
    std::string_view surplus_text = "fewer elements in array";
};

// A non-owning callable reference: Fault(std::size_t field_index, Value& value).
class FieldReader {
public:
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, FieldReader>)
    FieldReader(F& f)  // NOLINT: implicit by design
        : obj_(static_cast<void*>(&f)), call_([](void* o, std::size_t i, Value& v) -> Fault {
              return (*static_cast<F*>(o))(i, v);
          }) {}
    Fault operator()(std::size_t i, Value& v) const { return call_(obj_, i, v); }

private:
    void* obj_;
    Fault (*call_)(void*, std::size_t, Value&);
};

// Object or array form, or the invalid type (see the comment at the top).
Fault read_record_with(Value& v, const RecordShape& shape, FieldReader read_field);
// The object form alone, on an object already in hand.
Fault read_record_object_with(Object& o, const RecordShape& shape, FieldReader read_field);
// The array form alone, on the elements that hold the fields.
Fault read_record_elements_with(std::span<Value> elements, const RecordShape& shape, FieldReader read_field);

template <class F>
Fault read_record(Value& v, const RecordShape& shape, F&& read_field) {
    return read_record_with(v, shape, FieldReader(read_field));
}
template <class F>
Fault read_record_object(Object& o, const RecordShape& shape, F&& read_field) {
    return read_record_object_with(o, shape, FieldReader(read_field));
}
template <class F>
Fault read_record_elements(std::span<Value> elements, const RecordShape& shape, F&& read_field) {
    return read_record_elements_with(elements, shape, FieldReader(read_field));
}

// ---- enums and unions ------------------------------------------------------

// A unit-only enum (OrderType, FillTiming, Feed): a string naming the variant, or
// an object with exactly one member whose key names it and whose value is null.
// Faults in order: neither string nor object: W "string or map"; an object with
// 0 or 2+ members: "invalid value: map, expected map with a single key"; an
// unknown name: unknown variant; a non-null value: "invalid type: D, expected " +
// unit_text ("unit" for OrderType and FillTiming, "unit variant" for Feed).
Fault read_unit_enum(Value& v, std::span<const std::string_view> names, std::string_view unit_text,
                     std::size_t& out);

// An externally tagged variant (conditions): a one-member object {name: payload}
// or a bare string name. Faults in order: neither string nor object: W "string or
// map"; 0 or 2+ members: "invalid value: map, expected map with a single key";
// unknown name: unknown variant. payload is nullptr for the bare string (the
// caller then fails as it must, e.g. invalid_type_desc("unit variant",
// "newtype variant")).
struct VariantKey {
    std::size_t index = 0;
    Value* payload = nullptr;
};
Fault read_variant_key(Value& v, std::span<const std::string_view> names, VariantKey& out);

// The tag of an internally tagged union (Sizing, Slippage) in object form
// ({"type": name, fields...}) or array form ([name, fields...]). Faults in order:
// neither object nor array: W enum_name ("internally tagged enum Sizing"); no tag
// (an empty array too): "missing field `type`"; tag not a string: W "variant
// identifier"; unknown name: unknown variant. On success `out` is the variant
// index; the fields are then read by the caller with read_record_object (object
// form; the tag member is an unknown member and is skipped) or
// read_record_elements on the elements after the name.
Fault read_internal_tag(Value& v, std::string_view enum_name, std::string_view tag,
                        std::span<const std::string_view> names, std::size_t& out);

}  // namespace ostrel::json
