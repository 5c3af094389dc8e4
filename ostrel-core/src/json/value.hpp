// The JSON value tree: null, boolean, the three number kinds (unsigned 64-bit,
// signed 64-bit for negative integers, 64-bit float), string, array and object.
// An object keeps its members sorted by the bytes of their keys, each key once.
//
// A Value is 16 bytes: a kind tag and an 8-byte payload; strings, arrays and
// objects live on the heap behind it. Copying is deep; moving is cheap and leaves
// the source null.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostrel::json {

class Value;
class Object;
using Array = std::vector<Value>;

class Value {
public:
    enum class Kind : std::uint8_t { Null, Bool, UInt, Int, Float, String, Array, Object };

    Value() noexcept : kind_(Kind::Null) { u_.u = 0; }
    Value(std::nullptr_t) noexcept : Value() {}
    Value(const Value& o);
    Value(Value&& o) noexcept : kind_(o.kind_), u_(o.u_) {
        o.kind_ = Kind::Null;
        o.u_.u = 0;
    }
    Value& operator=(const Value& o);
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            destroy();
            kind_ = o.kind_;
            u_ = o.u_;
            o.kind_ = Kind::Null;
            o.u_.u = 0;
        }
        return *this;
    }
    ~Value() { destroy(); }

    // Factories (named, so that literals never pick a surprising overload).
    static Value null() { return Value(); }
    static Value boolean(bool b) {
        Value v;
        v.kind_ = Kind::Bool;
        v.u_.b = b;
        return v;
    }
    static Value uinteger(std::uint64_t x) {
        Value v;
        v.kind_ = Kind::UInt;
        v.u_.u = x;
        return v;
    }
    // A signed integer; negative values are stored as Int, others as UInt, as the
    // parser does.
    static Value integer(std::int64_t x) {
        Value v;
        if (x < 0) {
            v.kind_ = Kind::Int;
            v.u_.i = x;
        } else {
            v.kind_ = Kind::UInt;
            v.u_.u = static_cast<std::uint64_t>(x);
        }
        return v;
    }
    static Value number(double x) {
        Value v;
        v.kind_ = Kind::Float;
        v.u_.f = x;
        return v;
    }
    // A float, or null when it is not finite (NaN, infinities): the conversion of
    // report values into a tree.
    static Value finite_or_null(double x) {
        if (!(x - x == 0.0)) return Value();
        return number(x);
    }
    static Value string(std::string s);
    static Value array(Array a);
    static Value object(Object o);
    // Takes a heap object made by Object::new_block.
    static Value object_block(Object* o) {
        Value v;
        v.kind_ = Kind::Object;
        v.u_.o = o;
        return v;
    }

    Kind kind() const { return kind_; }
    bool is_null() const { return kind_ == Kind::Null; }
    bool is_bool() const { return kind_ == Kind::Bool; }
    bool is_uint() const { return kind_ == Kind::UInt; }
    bool is_int() const { return kind_ == Kind::Int; }
    bool is_integer() const { return kind_ == Kind::UInt || kind_ == Kind::Int; }
    bool is_float() const { return kind_ == Kind::Float; }
    bool is_number() const { return kind_ == Kind::UInt || kind_ == Kind::Int || kind_ == Kind::Float; }
    bool is_string() const { return kind_ == Kind::String; }
    bool is_array() const { return kind_ == Kind::Array; }
    bool is_object() const { return kind_ == Kind::Object; }

    // Unchecked accessors: the kind must match.
    bool as_bool() const { return u_.b; }
    std::uint64_t as_uint() const { return u_.u; }
    std::int64_t as_int() const { return u_.i; }
    double as_float() const { return u_.f; }
    std::string& as_string() { return *u_.s; }
    const std::string& as_string() const { return *u_.s; }
    Array& as_array() { return *u_.a; }
    const Array& as_array() const { return *u_.a; }
    Object& as_object() { return *u_.o; }
    const Object& as_object() const { return *u_.o; }

    // Any number as the nearest 64-bit float; 0.0 for a non-number.
    double to_f64() const {
        switch (kind_) {
            case Kind::UInt: return static_cast<double>(u_.u);
            case Kind::Int: return static_cast<double>(u_.i);
            case Kind::Float: return u_.f;
            default: return 0.0;
        }
    }

    // Member lookup on an object (nullptr when absent or not an object).
    Value* find(std::string_view key);
    const Value* find(std::string_view key) const;

    // Structural equality; numbers are equal when kind and value are (float by ==).
    friend bool operator==(const Value& a, const Value& b);

private:
    void destroy() noexcept {
        if (kind_ >= Kind::String) destroy_heap();
    }
    void destroy_heap() noexcept;

    Kind kind_;
    union Payload {
        bool b;
        std::uint64_t u;
        std::int64_t i;
        double f;
        std::string* s;
        Array* a;
        Object* o;
    } u_;
};

struct Member {
    std::string key;
    Value value;
};

// Members sorted by key bytes (std::string comparison is bytewise unsigned), each
// key once.
//
// Storage: a buffer of members. An object that the parser builds lives in one
// allocation with its members right behind it (Value::object_block); any other
// object owns a separate buffer. Moving out of a block object moves its members.
class Object {
public:
    using iterator = Member*;
    using const_iterator = const Member*;

    Object() noexcept = default;
    Object(const Object& o);
    Object(Object&& o);
    Object& operator=(const Object& o);
    Object& operator=(Object&& o);
    ~Object();

    // Members in any order, possibly with repeated keys: sorted by key bytes, and a
    // repeated key keeps the value that came last.
    static Object from_members(std::vector<Member> members);
    // Members already sorted by key bytes with each key once (not checked).
    static Object adopt_sorted(std::vector<Member> members);

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    iterator begin() { return data_; }
    iterator end() { return data_ + size_; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }
    Member& operator[](std::size_t i) { return data_[i]; }
    const Member& operator[](std::size_t i) const { return data_[i]; }

    Value* find(std::string_view key);
    const Value* find(std::string_view key) const;
    // Sets key to v, keeping the order; returns the stored value.
    Value& insert_or_assign(std::string key, Value v);

    friend bool operator==(const Object& a, const Object& b);

    // Internal: a heap object with room for n members in the same allocation,
    // filled by push_back_unchecked (members already in key order, keys unique),
    // released by destroy_heap_object.
    static Object* new_block(std::size_t n);
    static void destroy_heap_object(Object* o) noexcept;
    static Object* new_heap_object(Object&& o);
    static Object* new_heap_object(const Object& o);
    void push_back_unchecked(Member&& m);

private:
    void release() noexcept;
    void grow(std::size_t min_cap);
    void take(Object&& o);

    Member* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t cap_ = 0;
    bool in_block_ = false;  // data_ lies in the allocation that holds *this
};

inline Value* Value::find(std::string_view key) {
    return kind_ == Kind::Object ? u_.o->find(key) : nullptr;
}
inline const Value* Value::find(std::string_view key) const {
    return kind_ == Kind::Object ? static_cast<const Object*>(u_.o)->find(key) : nullptr;
}

}  // namespace ostrel::json
