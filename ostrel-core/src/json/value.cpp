#include "json/value.hpp"

#include <algorithm>

namespace ostrel::json {

Value Value::string(std::string s) {
    Value v;
    v.u_.s = new std::string(std::move(s));
    v.kind_ = Kind::String;
    return v;
}

Value Value::array(Array a) {
    Value v;
    v.u_.a = new Array(std::move(a));
    v.kind_ = Kind::Array;
    return v;
}

Value Value::object(Object o) {
    Value v;
    v.u_.o = new Object(std::move(o));
    v.kind_ = Kind::Object;
    return v;
}

Value::Value(const Value& o) : kind_(Kind::Null) {
    u_.u = 0;
    switch (o.kind_) {
        case Kind::String: u_.s = new std::string(*o.u_.s); break;
        case Kind::Array: u_.a = new Array(*o.u_.a); break;
        case Kind::Object: u_.o = new Object(*o.u_.o); break;
        default: u_ = o.u_; break;
    }
    kind_ = o.kind_;
}

Value& Value::operator=(const Value& o) {
    if (this != &o) {
        Value copy(o);
        *this = std::move(copy);
    }
    return *this;
}

void Value::destroy_heap() noexcept {
    switch (kind_) {
        case Kind::String: delete u_.s; break;
        case Kind::Array: delete u_.a; break;
        case Kind::Object: delete u_.o; break;
        default: break;
    }
    kind_ = Kind::Null;
    u_.u = 0;
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
        case Value::Kind::Null: return true;
        case Value::Kind::Bool: return a.u_.b == b.u_.b;
        case Value::Kind::UInt: return a.u_.u == b.u_.u;
        case Value::Kind::Int: return a.u_.i == b.u_.i;
        case Value::Kind::Float: return a.u_.f == b.u_.f;
        case Value::Kind::String: return *a.u_.s == *b.u_.s;
        case Value::Kind::Array: return *a.u_.a == *b.u_.a;
        case Value::Kind::Object: return *a.u_.o == *b.u_.o;
    }
    return false;
}

bool operator==(const Object& a, const Object& b) {
    if (a.members_.size() != b.members_.size()) return false;
    for (std::size_t i = 0; i < a.members_.size(); ++i) {
        if (a.members_[i].key != b.members_[i].key) return false;
        if (!(a.members_[i].value == b.members_[i].value)) return false;
    }
    return true;
}

Object Object::from_members(std::vector<Member> members) {
    Object o;
    bool sorted = true;
    for (std::size_t i = 1; i < members.size(); ++i) {
        if (!(members[i - 1].key < members[i].key)) {
            sorted = false;
            break;
        }
    }
    if (!sorted) {
        std::stable_sort(members.begin(), members.end(),
                         [](const Member& x, const Member& y) { return x.key < y.key; });
        // Keep the last of each run of equal keys.
        std::size_t out = 0;
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (i + 1 < members.size() && members[i + 1].key == members[i].key) continue;
            if (out != i) members[out] = std::move(members[i]);
            ++out;
        }
        members.erase(members.begin() + static_cast<std::ptrdiff_t>(out), members.end());
    }
    o.members_ = std::move(members);
    return o;
}

namespace {
struct MemberKeyLess {
    bool operator()(const Member& m, std::string_view k) const { return std::string_view(m.key) < k; }
};
}  // namespace

Value* Object::find(std::string_view key) {
    auto it = std::lower_bound(members_.begin(), members_.end(), key, MemberKeyLess{});
    if (it != members_.end() && it->key == key) return &it->value;
    return nullptr;
}

const Value* Object::find(std::string_view key) const {
    auto it = std::lower_bound(members_.begin(), members_.end(), key, MemberKeyLess{});
    if (it != members_.end() && it->key == key) return &it->value;
    return nullptr;
}

Value& Object::insert_or_assign(std::string key, Value v) {
    auto it = std::lower_bound(members_.begin(), members_.end(), std::string_view(key), MemberKeyLess{});
    if (it != members_.end() && it->key == key) {
        it->value = std::move(v);
        return it->value;
    }
    it = members_.insert(it, Member{std::move(key), std::move(v)});
    return it->value;
}

}  // namespace ostrel::json
