#include "json/value.hpp"

#include <algorithm>
#include <new>

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
    v.u_.o = Object::new_heap_object(std::move(o));
    v.kind_ = Kind::Object;
    return v;
}

Value::Value(const Value& o) : kind_(Kind::Null) {
    u_.u = 0;
    switch (o.kind_) {
        case Kind::String: u_.s = new std::string(*o.u_.s); break;
        case Kind::Array: u_.a = new Array(*o.u_.a); break;
        case Kind::Object: u_.o = Object::new_heap_object(*o.u_.o); break;
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
        case Kind::Object: Object::destroy_heap_object(u_.o); break;
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
    if (a.size_ != b.size_) return false;
    for (std::size_t i = 0; i < a.size_; ++i) {
        if (a.data_[i].key != b.data_[i].key) return false;
        if (!(a.data_[i].value == b.data_[i].value)) return false;
    }
    return true;
}

// ---- Object storage ----------------------------------------------------------

namespace object_detail {
inline Member* allocate_members(std::size_t n) {
    return static_cast<Member*>(::operator new(n * sizeof(Member)));
}
}  // namespace object_detail

void Object::release() noexcept {
    for (std::size_t i = 0; i < size_; ++i) data_[i].~Member();
    if (!in_block_ && data_ != nullptr) ::operator delete(data_);
    data_ = nullptr;
    size_ = 0;
    cap_ = 0;
    in_block_ = false;
}

Object::~Object() { release(); }

// Takes o's members: its buffer when o owns one, else a copy by moves.
void Object::take(Object&& o) {
    if (!o.in_block_) {
        data_ = o.data_;
        size_ = o.size_;
        cap_ = o.cap_;
        in_block_ = false;
        o.data_ = nullptr;
        o.size_ = 0;
        o.cap_ = 0;
        return;
    }
    data_ = nullptr;
    size_ = 0;
    cap_ = 0;
    in_block_ = false;
    if (o.size_ > 0) {
        data_ = object_detail::allocate_members(o.size_);
        cap_ = o.size_;
        for (std::size_t i = 0; i < o.size_; ++i) new (&data_[i]) Member(std::move(o.data_[i]));
        size_ = o.size_;
    }
    o.release();
}

Object::Object(Object&& o) { take(std::move(o)); }

Object& Object::operator=(Object&& o) {
    if (this != &o) {
        // o may be a member of this object's tree: take it before releasing.
        Object tmp(std::move(o));
        release();
        take(std::move(tmp));
    }
    return *this;
}

Object::Object(const Object& o) {
    if (o.size_ > 0) {
        data_ = object_detail::allocate_members(o.size_);
        cap_ = o.size_;
        for (std::size_t i = 0; i < o.size_; ++i) {
            new (&data_[i]) Member(o.data_[i]);
            size_ = i + 1;
        }
    }
}

Object& Object::operator=(const Object& o) {
    if (this != &o) {
        Object tmp(o);
        *this = std::move(tmp);
    }
    return *this;
}

void Object::grow(std::size_t min_cap) {
    std::size_t cap = cap_ < 4 ? 4 : cap_ * 2;
    if (cap < min_cap) cap = min_cap;
    Member* fresh = object_detail::allocate_members(cap);
    for (std::size_t i = 0; i < size_; ++i) {
        new (&fresh[i]) Member(std::move(data_[i]));
        data_[i].~Member();
    }
    if (!in_block_ && data_ != nullptr) ::operator delete(data_);
    data_ = fresh;
    cap_ = cap;
    in_block_ = false;
}

void Object::push_back_unchecked(Member&& m) {
    if (size_ == cap_) grow(size_ + 1);
    new (&data_[size_]) Member(std::move(m));
    ++size_;
}

Object* Object::new_block(std::size_t n) {
    void* raw = ::operator new(sizeof(Object) + n * sizeof(Member));
    Object* o = new (raw) Object();
    if (n > 0) {
        o->data_ = reinterpret_cast<Member*>(static_cast<char*>(raw) + sizeof(Object));
        o->cap_ = n;
        o->in_block_ = true;
    }
    return o;
}

void Object::destroy_heap_object(Object* o) noexcept {
    o->~Object();
    ::operator delete(static_cast<void*>(o));
}

Object* Object::new_heap_object(Object&& o) {
    Object* p = new_block(0);
    p->take(std::move(o));
    return p;
}

Object* Object::new_heap_object(const Object& o) {
    Object* p = new_block(o.size_);
    for (std::size_t i = 0; i < o.size_; ++i) p->push_back_unchecked(Member(o.data_[i]));
    return p;
}

Object Object::adopt_sorted(std::vector<Member> members) {
    Object o;
    if (!members.empty()) {
        o.data_ = object_detail::allocate_members(members.size());
        o.cap_ = members.size();
        for (Member& m : members) {
            new (&o.data_[o.size_]) Member(std::move(m));
            ++o.size_;
        }
    }
    return o;
}

namespace object_detail {
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
}  // namespace object_detail

Object Object::from_members(std::vector<Member> members) {
    bool sorted = true;
    for (std::size_t i = 1; i < members.size(); ++i) {
        if (!object_detail::key_less(members[i - 1].key, members[i].key)) {
            sorted = false;
            break;
        }
    }
    if (!sorted) {
        if (members.size() <= 32) {
            // Small objects: a stable insertion sort, which allocates nothing.
            for (std::size_t i = 1; i < members.size(); ++i) {
                if (!object_detail::key_less(members[i].key, members[i - 1].key)) continue;
                Member m = std::move(members[i]);
                std::size_t j = i;
                while (j > 0 && object_detail::key_less(m.key, members[j - 1].key)) {
                    members[j] = std::move(members[j - 1]);
                    --j;
                }
                members[j] = std::move(m);
            }
        } else {
            std::stable_sort(members.begin(), members.end(),
                             [](const Member& x, const Member& y) { return x.key < y.key; });
        }
        // Keep the last of each run of equal keys.
        std::size_t out = 0;
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (i + 1 < members.size() && members[i + 1].key == members[i].key) continue;
            if (out != i) members[out] = std::move(members[i]);
            ++out;
        }
        members.erase(members.begin() + static_cast<std::ptrdiff_t>(out), members.end());
    }
    return adopt_sorted(std::move(members));
}

namespace object_detail {
struct MemberKeyLess {
    bool operator()(const Member& m, std::string_view k) const { return std::string_view(m.key) < k; }
};
}  // namespace object_detail

Value* Object::find(std::string_view key) {
    Member* it = std::lower_bound(begin(), end(), key, object_detail::MemberKeyLess{});
    if (it != end() && it->key == key) return &it->value;
    return nullptr;
}

const Value* Object::find(std::string_view key) const {
    const Member* it = std::lower_bound(begin(), end(), key, object_detail::MemberKeyLess{});
    if (it != end() && it->key == key) return &it->value;
    return nullptr;
}

Value& Object::insert_or_assign(std::string key, Value v) {
    std::size_t pos = static_cast<std::size_t>(std::lower_bound(begin(), end(), std::string_view(key), object_detail::MemberKeyLess{}) - begin());
    if (pos < size_ && data_[pos].key == key) {
        data_[pos].value = std::move(v);
        return data_[pos].value;
    }
    if (size_ == cap_) grow(size_ + 1);
    if (pos == size_) {
        new (&data_[size_]) Member{std::move(key), std::move(v)};
    } else {
        new (&data_[size_]) Member(std::move(data_[size_ - 1]));
        for (std::size_t i = size_ - 1; i > pos; --i) data_[i] = std::move(data_[i - 1]);
        data_[pos] = Member{std::move(key), std::move(v)};
    }
    ++size_;
    return data_[pos].value;
}

}  // namespace ostrel::json
