// Text: the buffer that holds a finished response.
#include "hash/canonical.hpp"

#include <sys/mman.h>

#include <cstdint>

namespace ostrel {

Text& Text::operator=(Text&& o) noexcept {
    if (this != &o) {
        release_raw();
        str_ = std::move(o.str_);
        begin_ = o.begin_;
        raw_ = o.raw_;
        raw_size_ = o.raw_size_;
        mapped_ = o.mapped_;
        o.raw_ = nullptr;
        o.raw_size_ = 0;
        o.mapped_ = 0;
    }
    return *this;
}

Text Text::raw(std::size_t size) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    Text t;
    t.raw_size_ = size;
    if (size >= 2 * kHuge) {
        // Mapped with one spare huge page, the part before the first aligned address
        // and after the last whole huge page given back, so that every huge page the
        // block spans can be backed by one.
        const std::size_t length = (size + kHuge - 1) / kHuge * kHuge;
        void* p = mmap(nullptr, length + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            const auto start = reinterpret_cast<std::uintptr_t>(p);
            const std::uintptr_t aligned = (start + kHuge - 1) / kHuge * kHuge;
            if (aligned > start) munmap(p, aligned - start);
            const std::size_t tail = kHuge - (aligned - start);
            if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
            madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);  // advice: refused, pages stay 4 KiB
            t.raw_ = reinterpret_cast<char*>(aligned);
            t.mapped_ = length;
            return t;
        }
    }
    t.raw_ = new char[size == 0 ? 1 : size];
    return t;
}

void Text::release_raw() noexcept {
    if (raw_ == nullptr) return;
    if (mapped_ != 0) {
        munmap(raw_, mapped_);
    } else {
        delete[] raw_;
    }
    raw_ = nullptr;
    raw_size_ = 0;
    mapped_ = 0;
}

}  // namespace ostrel
