// The shared steps of the candle kinds, worked by hand: directional movement on an
// inside bar, the volume-weighted window and the safe-zone penetration window. The
// kinds' own hand-worked cases are rows of data/trend_cases.txt.
#include <gtest/gtest.h>

#include "indicators/core/adx.hpp"
#include "indicators/core/safe_zone_window.hpp"
#include "indicators/core/volume_weighted_window.hpp"

using namespace ostrel;

TEST(CandleEdge, InsideBarMovesNeitherWay) {
    auto core = *core::DirectionalMovement::make(1);
    core.step(Candle{0, 7, 10, 5, 7, 0});
    auto inside = core.step(Candle{0, 7, 9, 6, 7, 0});
    EXPECT_EQ(inside->plus_dm, 0.0);
    EXPECT_EQ(inside->minus_dm, 0.0);
    EXPECT_EQ(inside->tr, 3.0);
}

TEST(CandleEdge, SharedWindows) {
    auto w = *core::VolumeWeightedWindow::make(2);
    EXPECT_FALSE(w.push(10, 1));
    EXPECT_EQ(*w.push(20, 3), 17.5);
    EXPECT_EQ(*w.push(30, 1), 22.5);  // (20*3 + 30) / 4
    auto one = *core::VolumeWeightedWindow::make(1);
    EXPECT_EQ(*one.push(7, 0), 7.0);

    auto z = *core::SafeZoneWindow::make(2);
    z.push(0.0);
    EXPECT_EQ(z.positive_count(), 0u);  // zero is not a penetration
    z.push(2.0);
    EXPECT_EQ(z.positive_count(), 1u);
    z.push(-1.0);  // removes the zero: the count stays
    EXPECT_EQ(z.positive_count(), 1u);
    EXPECT_EQ(z.sum(), 1.0);
    z.push(3.0);  // removes the 2
    EXPECT_EQ(z.positive_count(), 1u);
    EXPECT_EQ(z.sum(), 2.0);
}
