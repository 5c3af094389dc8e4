// The paired running sums behind TradeImbalance and IntradayMomentumIndex: the two
// slide orders round differently, each in its stated order.
#include <gtest/gtest.h>

#include <cmath>

#include "indicators/core/rolling_pair_sums.hpp"
#include "support/build_support.hpp"

using namespace ostrel;
using build_support::kMax;
using build_support::kZero;

TEST(RollingPairSums, BothSlideOrdersKeepTheLastPeriodPairs) {
    EXPECT_EQ(core::RollingPairSums::make(0).error().display(), kZero);
    EXPECT_EQ(core::RollingPairSums::make(MAX_PERIOD + 1).error().display(), kMax);
    auto first = *core::RollingPairSums::make(2);
    auto after = *core::RollingPairSums::make(2);
    const double a[] = {1e16, 1.0, 3.0, 5.0};
    for (double v : a) {
        first.replace_then_add(v, -v);
        after.add_then_replace(v, -v);
    }
    EXPECT_TRUE(first.full());
    EXPECT_TRUE(after.full());
    EXPECT_EQ(after.period(), 2u);
    // By hand. Dropping first: 1e16 + 1 rounds to 1e16, the 1 is lost, then
    // (1e16 - 1e16) + 3 = 3, (3 - 1) + 5 = 7. Adding first: (1e16 + 3) rounds to
    // 1e16 + 4, less 1e16 gives 4, then (4 + 5) - 1 = 8.
    EXPECT_EQ(first.sum_a(), 7.0);
    EXPECT_EQ(first.sum_b(), -7.0);
    EXPECT_EQ(after.sum_a(), 8.0);
    EXPECT_EQ(after.sum_b(), -8.0);
}

// Sells (a side of zeros) leaving the window: 0.1 + 0.2 = 0.30000000000000004, less
// 0.1 and 0.2 leaves 2^-55 in the running sum, but a window of zeros sums to exactly
// 0. The residue stays in the sum: the next value adds to it as before.
TEST(RollingPairSums, ASideHoldingOnlyZerosSumsToZero) {
    auto first = *core::RollingPairSums::make(2);
    auto after = *core::RollingPairSums::make(2);
    for (double v : {0.1, 0.2, 0.0, 0.0}) {
        first.replace_then_add(v, 1.0);
        after.add_then_replace(v, 1.0);
    }
    for (const auto* s : {&first, &after}) {
        EXPECT_EQ(s->sum_a(), 0.0);
        EXPECT_FALSE(std::signbit(s->sum_a()));
        EXPECT_EQ(s->sum_b(), 2.0);
    }
    first.replace_then_add(1e-16, 1.0);
    after.add_then_replace(1e-16, 1.0);
    EXPECT_EQ(first.sum_a(), 0x1p-55 + 1e-16);
    EXPECT_EQ(after.sum_a(), 0x1p-55 + 1e-16);
}
