// A fixed-capacity ring window in arrival order; its storage is reserved once. Also
// the opening step of the kinds that keep a window of finite inputs, and the plain
// highest and lowest scans of a window.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace ostrel::core {

template <class T>
class Ring {
public:
    Ring() = default;
    explicit Ring(std::size_t capacity) : buf_(capacity), cap_(capacity) {}

    std::size_t capacity() const { return cap_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == cap_; }

    // Appends; when full, the oldest value is dropped first.
    void push(const T& v) {
        buf_[head_] = v;
        if (++head_ == cap_) head_ = 0;
        if (count_ < cap_) ++count_;
    }
    // Drops the oldest value (the window must not be empty).
    void pop_oldest() { --count_; }

    // i = 0 is the oldest value, size() - 1 the newest.
    const T& operator[](std::size_t i) const { return buf_[slot(i)]; }
    T& operator[](std::size_t i) { return buf_[slot(i)]; }
    const T& oldest() const { return (*this)[0]; }
    const T& newest() const { return buf_[head_ == 0 ? cap_ - 1 : head_ - 1]; }
    // i = 0 is the newest value.
    const T& back(std::size_t i) const { return (*this)[count_ - 1 - i]; }

    template <class F>
    void for_each(F&& f) const {
        std::size_t s = start();
        for (std::size_t i = 0; i < count_; ++i) {
            f(buf_[s]);
            if (++s == cap_) s = 0;
        }
    }

private:
    std::size_t start() const { return head_ >= count_ ? head_ - count_ : head_ + cap_ - count_; }
    std::size_t slot(std::size_t i) const {
        std::size_t s = start() + i;
        return s >= cap_ ? s - cap_ : s;
    }

    std::vector<T> buf_;
    std::size_t cap_ = 0;
    std::size_t head_ = 0;   // next slot written
    std::size_t count_ = 0;
};

// A non-finite v changes nothing and gives false; otherwise v is appended to the
// window `w` (any window with push and full) and the answer is whether it is full.
template <class Window>
bool push_finite(Window& w, double v) {
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

}  // namespace ostrel::core
