// The growing ring window against a plain deque: the storage grows with the values
// received, so its growth steps (a rotation into arrival order, then a larger
// buffer) must keep every position, across drops at both ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "indicators/core/ring.hpp"
#include "indicators/core/sorted_window.hpp"

namespace {

using ostrel::core::Ring;

void expect_same(const Ring<int>& r, const std::deque<int>& d, std::size_t cap) {
    ASSERT_EQ(r.size(), d.size());
    EXPECT_EQ(r.full(), d.size() == cap);
    EXPECT_EQ(r.empty(), d.empty());
    for (std::size_t i = 0; i < d.size(); ++i) ASSERT_EQ(r[i], d[i]) << "position " << i;
    if (!d.empty()) {
        EXPECT_EQ(r.oldest(), d.front());
        EXPECT_EQ(r.newest(), d.back());
        EXPECT_EQ(r.back(0), d.back());
    }
    std::vector<int> seen;
    r.for_each([&](int v) { seen.push_back(v); });
    EXPECT_TRUE(std::equal(seen.begin(), seen.end(), d.begin(), d.end()));
}

TEST(Ring, GrowsThroughEveryStepAndWrapsOnceFull) {
    for (std::size_t cap : {1u, 2u, 15u, 16u, 17u, 33u, 100u, 1000u}) {
        Ring<int> r(cap);
        std::deque<int> d;
        for (int v = 0; v < static_cast<int>(3 * cap + 5); ++v) {
            r.push(v);
            d.push_back(v);
            if (d.size() > cap) d.pop_front();
            expect_same(r, d, cap);
        }
        EXPECT_EQ(r.capacity(), cap);
    }
}

// Drops at either end while the storage is still growing (the monotonic deques of
// the window extremes), so that a growth step starts from any head position.
TEST(Ring, RandomPushesAndDropsMatchADeque) {
    std::mt19937_64 rng(12345);
    for (std::size_t cap : {3u, 16u, 17u, 40u, 257u}) {
        Ring<int> r(cap);
        std::deque<int> d;
        for (int step = 0; step < 20000; ++step) {
            const auto op = rng() % 8;
            if (op < 5 || d.empty()) {
                r.push(step);
                d.push_back(step);
                if (d.size() > cap) d.pop_front();
            } else if (op < 7) {
                r.pop_oldest();
                d.pop_front();
            } else {
                r.pop_newest();
                d.pop_back();
            }
            expect_same(r, d, cap);
        }
    }
}

TEST(GrowToward, DoublesAndStopsExactlyAtTheLimit) {
    for (std::size_t limit : {1u, 16u, 17u, 100u, 4096u, 5000u}) {
        std::vector<double> v;
        std::size_t last = 0;
        for (std::size_t i = 0; i < limit; ++i) {
            ostrel::core::grow_toward(v, limit);
            v.push_back(static_cast<double>(i));
            ASSERT_LE(v.capacity(), limit);
            if (v.capacity() != last) {
                // A new capacity is at least twice the old one (16 at least) or the limit.
                EXPECT_TRUE(v.capacity() == limit || v.capacity() >= std::max<std::size_t>(16, 2 * last));
                last = v.capacity();
            }
        }
        EXPECT_EQ(v.capacity(), limit);
    }
}

TEST(SortedWindow, GrowingWindowStaysSortedInTotalOrder) {
    std::mt19937_64 rng(7);
    for (std::size_t period : {5u, 17u, 64u, 300u}) {
        ostrel::core::SortedWindow w(period);
        std::deque<double> d;
        for (int i = 0; i < 2000; ++i) {
            double x = static_cast<double>(static_cast<std::int64_t>(rng() % 41) - 20) / 4.0;
            if (x == 0.0 && rng() % 2) x = -0.0;
            w.push(x);
            d.push_back(x);
            if (d.size() > period) d.pop_front();
            std::vector<double> expected(d.begin(), d.end());
            std::sort(expected.begin(), expected.end(), ostrel::core::total_less);
            auto got = w.sorted();
            ASSERT_EQ(got.size(), expected.size());
            for (std::size_t k = 0; k < expected.size(); ++k)
                ASSERT_EQ(std::signbit(got[k]), std::signbit(expected[k])) << k;
            ASSERT_TRUE(std::equal(got.begin(), got.end(), expected.begin()));
            EXPECT_EQ(w.full(), d.size() == period);
        }
    }
}

}  // namespace
