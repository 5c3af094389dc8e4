// A ring window of at most `capacity` values in arrival order. Its storage grows with
// the values received (doubling, amortised O(1)) until it holds `capacity` values,
// so a long window costs only what has arrived; once full, updates allocate nothing.
// Also the opening step of the kinds that keep a window of finite inputs, and the
// plain highest and lowest scans of a window.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "indicators/core/inline_hint.hpp"

namespace ostrel::core {

// Makes room in `v` for one more element when it is at its capacity and below
// `limit`: the next capacity doubles (16 at least) but never exceeds `limit`, so a
// vector that never holds more than `limit` elements is never allocated past it.
template <class V>
void grow_toward(V& v, std::size_t limit) {
    const std::size_t c = v.capacity();
    if (v.size() < c || c >= limit) return;
    v.reserve(std::min(limit, std::max<std::size_t>(16, 2 * c)));
}

template <class T>
class Ring {
public:
    Ring() = default;
    explicit Ring(std::size_t capacity) : cap_(capacity) {}

    std::size_t capacity() const { return cap_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == cap_; }

    // Appends; when full, the oldest value is dropped first.
    OSTREL_ALWAYS_INLINE void push(const T& v) {
        if (count_ == size_ && count_ < cap_) grow();
        buf_[head_] = v;
        if (++head_ == size_) head_ = 0;
        if (count_ < cap_) ++count_;
    }
    // Drops the oldest value (the window must not be empty).
    void pop_oldest() { --count_; }
    // Drops the newest value (the window must not be empty).
    void pop_newest() {
        --count_;
        head_ = head_ == 0 ? size_ - 1 : head_ - 1;
    }

    // i = 0 is the oldest value, size() - 1 the newest.
    const T& operator[](std::size_t i) const { return buf_[slot(i)]; }
    T& operator[](std::size_t i) { return buf_[slot(i)]; }
    const T& oldest() const { return (*this)[0]; }
    const T& newest() const { return buf_[head_ == 0 ? size_ - 1 : head_ - 1]; }
    // i = 0 is the newest value.
    const T& back(std::size_t i) const { return (*this)[count_ - 1 - i]; }

    template <class F>
    void for_each(F&& f) const {
        std::size_t s = start();
        for (std::size_t i = 0; i < count_; ++i) {
            f(buf_[s]);
            if (++s == size_) s = 0;
        }
    }

private:
    std::size_t start() const { return head_ >= count_ ? head_ - count_ : head_ + size_ - count_; }
    std::size_t slot(std::size_t i) const {
        std::size_t s = start() + i;
        return s >= size_ ? s - size_ : s;
    }

    // Every slot is taken and the window is not at its length: put the values in
    // arrival order from slot 0 and enlarge the storage.
    OSTREL_OUT_OF_LINE void grow() {
        std::rotate(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(head_), buf_.end());
        grow_toward(buf_, cap_);
        buf_.resize(buf_.capacity());
        head_ = count_;
        size_ = buf_.size();
    }

    std::vector<T> buf_;     // slots; their number grows up to cap_
    std::size_t size_ = 0;   // buf_.size()
    std::size_t cap_ = 0;    // window length
    std::size_t head_ = 0;   // next slot written
    std::size_t count_ = 0;
};

// A non-finite v changes nothing and gives false; otherwise v is appended to the
// window `w` (any window with push and full) and the answer is whether it is full.
template <class Window>
OSTREL_ALWAYS_INLINE bool push_finite(Window& w, double v) {
    if (!std::isfinite(v)) return false;
    w.push(v);
    return w.full();
}

// The largest value held, scanning oldest first from -infinity (which an empty
// window gives).
inline double highest(const Ring<double>& w) {
    double hi = -std::numeric_limits<double>::infinity();
    w.for_each([&](double v) {
        if (v > hi) hi = v;
    });
    return hi;
}

// The smallest value held, scanning oldest first from +infinity (which an empty
// window gives).
inline double lowest(const Ring<double>& w) {
    double lo = std::numeric_limits<double>::infinity();
    w.for_each([&](double v) {
        if (v < lo) lo = v;
    });
    return lo;
}

// The mean of the values held (at least one), summed oldest first from +0: the new
// anchor of the anchored running sums when they are rebuilt from their window.
inline double mean_oldest_first(const Ring<double>& w) {
    double s = 0.0;
    w.for_each([&](double v) { s = s + v; });
    return s / static_cast<double>(w.size());
}

}  // namespace ostrel::core
