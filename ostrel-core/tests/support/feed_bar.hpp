// One bar that owns every feed a kind can read, the snapshot an update takes, and the
// random generator the generated series draw from: integer arithmetic and one exact
// conversion, so that every build and processor draws the same bits.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "indicators/indicator.hpp"

namespace feed_bar {

// SplitMix64.
struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A double in [0, 1) with 53 random bits: exact.
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    std::uint64_t below(std::uint64_t n) { return next() % n; }
};

struct FeedBar {
    ostrel::Candle candle;
    std::optional<double> reference;
    std::optional<ostrel::DerivativesTick> derivatives;
    std::vector<ostrel::Trade> trades;
    std::optional<ostrel::OrderBook> book;
    std::optional<std::vector<ostrel::CrossSectionEntry>> cross;

    ostrel::FeedSnapshot snapshot() const {
        ostrel::FeedSnapshot s;
        s.candle = candle;
        s.reference = reference;
        s.derivatives = derivatives;
        s.trades = trades;
        s.order_book = book ? &*book : nullptr;
        s.cross_section = cross ? &*cross : nullptr;
        return s;
    }
};

}  // namespace feed_bar
