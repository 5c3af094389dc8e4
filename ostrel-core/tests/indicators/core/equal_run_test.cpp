// The count of trailing equal values behind every flat-window answer.
#include <gtest/gtest.h>

#include "indicators/core/equal_run.hpp"

using ostrel::core::EqualRun;

TEST(EqualRun, CountsTheTrailingValuesEqualToTheNewest) {
    EqualRun r;
    EXPECT_FALSE(r.covers(1));
    EXPECT_FALSE(r.constant_from_start());
    for (double x : {102.6, 102.6, 102.6}) r.push(x);
    EXPECT_TRUE(r.covers(3));
    EXPECT_FALSE(r.covers(4));
    EXPECT_TRUE(r.constant_from_start());
    r.push(97.3);  // a change starts a new run and ends "constant from the start" for good
    EXPECT_EQ(r.length(), 1u);
    r.push(97.3);
    EXPECT_TRUE(r.covers(2));
    EXPECT_FALSE(r.constant_from_start());
    EXPECT_EQ(r.last(), 97.3);
}

TEST(EqualRun, ZerosOfBothSignsAreOneValue) {
    EqualRun r;
    r.push(0.0);
    r.push(-0.0);
    r.push(0.0);
    EXPECT_TRUE(r.covers(3));
    EXPECT_TRUE(r.constant_from_start());
    r.push(0x1p-1074);  // the smallest subnormal is not 0
    EXPECT_EQ(r.length(), 1u);
}
