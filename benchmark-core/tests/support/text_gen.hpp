// The random choices behind the tests' generated JSON texts: a seeded generator
// with picks, chances and digit strings; each test adds its own shapes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace text_gen {

class Choices {
public:
    explicit Choices(std::uint64_t seed) : rng_(seed) {}

    std::size_t pick(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }
    bool chance(int percent) { return static_cast<int>(rng_() % 100) < percent; }

    // n decimal digits, the first not 0 when asked.
    std::string digits(std::size_t n, bool leading_nonzero) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) {
            char d = static_cast<char>('0' + pick(10));
            if (i == 0 && leading_nonzero && d == '0') d = '1';
            s.push_back(d);
        }
        return s;
    }

    // One to three random edits of s: a byte replaced by or inserted from `bytes`, one
    // to four bytes erased, or the text cut short.
    std::string mutate(std::string s, std::string_view bytes) {
        const int rounds = 1 + static_cast<int>(pick(3));
        for (int r = 0; r < rounds && !s.empty(); ++r) {
            const std::size_t at = pick(s.size());
            switch (pick(4)) {
                case 0: s[at] = bytes[pick(bytes.size())]; break;
                case 1: s.insert(s.begin() + static_cast<std::ptrdiff_t>(at), bytes[pick(bytes.size())]); break;
                case 2: s.erase(at, 1 + pick(4)); break;
                default: s.resize(at); break;
            }
        }
        return s;
    }

protected:
    std::mt19937_64 rng_;
};

}  // namespace text_gen
