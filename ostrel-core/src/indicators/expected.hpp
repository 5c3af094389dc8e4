// A value or an error, for construction and reading paths that fail as values.
#pragma once

#include <new>
#include <type_traits>
#include <utility>

namespace ostrel {

template <class T, class E>
class Expected {
    static_assert(!std::is_same_v<T, E>, "value and error types must differ");

public:
    Expected(const T& v) : ok_(true) { new (&val_) T(v); }
    Expected(T&& v) : ok_(true) { new (&val_) T(std::move(v)); }
    Expected(const E& e) : ok_(false) { new (&err_) E(e); }
    Expected(E&& e) : ok_(false) { new (&err_) E(std::move(e)); }
    Expected(const Expected& o) : ok_(o.ok_) {
        if (ok_) new (&val_) T(o.val_); else new (&err_) E(o.err_);
    }
    Expected(Expected&& o) noexcept : ok_(o.ok_) {
        if (ok_) new (&val_) T(std::move(o.val_)); else new (&err_) E(std::move(o.err_));
    }
    Expected& operator=(Expected o) {
        destroy();
        ok_ = o.ok_;
        if (ok_) new (&val_) T(std::move(o.val_)); else new (&err_) E(std::move(o.err_));
        return *this;
    }
    ~Expected() { destroy(); }

    explicit operator bool() const { return ok_; }
    bool has_value() const { return ok_; }
    T& value() & { return val_; }
    const T& value() const& { return val_; }
    T&& value() && { return std::move(val_); }
    T& operator*() & { return val_; }
    const T& operator*() const& { return val_; }
    T&& operator*() && { return std::move(val_); }
    T* operator->() { return &val_; }
    const T* operator->() const { return &val_; }
    E& error() & { return err_; }
    const E& error() const& { return err_; }
    E&& error() && { return std::move(err_); }

private:
    void destroy() {
        if (ok_) val_.~T(); else err_.~E();
    }
    bool ok_;
    union {
        T val_;
        E err_;
    };
};

}  // namespace ostrel

// Evaluates an Expected-returning expression; on error returns the error from the
// enclosing function, otherwise declares `var` holding the value.
#define OSTREL_CAT_(a, b) a##b
#define OSTREL_CAT(a, b) OSTREL_CAT_(a, b)
#define OSTREL_TRY(var, expr)                                   \
    auto OSTREL_CAT(var, _result_) = (expr);                    \
    if (!OSTREL_CAT(var, _result_))                             \
        return std::move(OSTREL_CAT(var, _result_)).error();    \
    auto var = std::move(*OSTREL_CAT(var, _result_))
