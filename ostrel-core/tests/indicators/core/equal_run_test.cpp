// The counts of trailing equal values and trailing zeros behind every flat-window
// answer.
#include <gtest/gtest.h>

#include <limits>

#include "indicators/core/equal_run.hpp"

using ostrel::core::EqualRun;
using ostrel::core::ZeroRun;

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

TEST(EqualRun, TheFirstValueOpensARunWhateverItIs) {
    EqualRun zero;
    zero.push(0.0);  // meets no earlier value, though 0 is what an empty counter holds
    EXPECT_EQ(zero.length(), 1u);
    EXPECT_TRUE(zero.zeros_cover(1));
    EXPECT_TRUE(zero.constant_from_start());
    EqualRun nan;
    nan.push(std::numeric_limits<double>::quiet_NaN());
    nan.push(std::numeric_limits<double>::quiet_NaN());  // unequal to itself
    EXPECT_EQ(nan.length(), 1u);
    EXPECT_FALSE(nan.constant_from_start());
}

TEST(ZeroRun, CountsTrailingZerosOfEitherSign) {
    ZeroRun r;
    EXPECT_FALSE(r.covers(1));
    for (double x : {0.0, -0.0, 0.0}) r.push(x);
    EXPECT_TRUE(r.covers(3));
    EXPECT_FALSE(r.covers(4));
    for (double x : {0x1p-1074, std::numeric_limits<double>::quiet_NaN(), -2.5}) {
        r.push(x);  // anything else ends the run
        EXPECT_FALSE(r.covers(1));
    }
    r.push(-0.0);
    EXPECT_TRUE(r.covers(1));
    EXPECT_FALSE(r.covers(2));
}
