// The NaN-ignoring larger and smaller of two values: a tie (+0 and -0 among them)
// gives the first operand, a NaN gives the other operand, two NaNs give a NaN.
// Operands pass through a volatile so that the calls run rather than fold.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "indicators/core/min_max.hpp"

namespace {

using ostrel::core::max_ignoring_nan;
using ostrel::core::min_ignoring_nan;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double opaque(double v) {
    volatile double x = v;
    return x;
}

double max_of(double a, double b) { return max_ignoring_nan(opaque(a), opaque(b)); }
double min_of(double a, double b) { return min_ignoring_nan(opaque(a), opaque(b)); }

TEST(MinMaxIgnoringNan, ZeroTieGivesTheFirstOperand) {
    EXPECT_FALSE(std::signbit(max_of(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(max_of(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(min_of(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(min_of(-0.0, 0.0)));
    // Same sign: nothing to choose.
    EXPECT_TRUE(std::signbit(max_of(-0.0, -0.0)));
    EXPECT_FALSE(std::signbit(min_of(0.0, 0.0)));
    // A zero against a nonzero value is no tie.
    EXPECT_EQ(max_of(-0.0, 1e-300), 1e-300);
    EXPECT_EQ(min_of(0.0, -5e-324), -5e-324);
    EXPECT_FALSE(std::signbit(max_of(-1.0, 0.0)));
    EXPECT_TRUE(std::signbit(min_of(1.0, -0.0)));
}

TEST(MinMaxIgnoringNan, OneNanGivesTheOtherOperand) {
    EXPECT_EQ(max_of(kNaN, 2.5), 2.5);
    EXPECT_EQ(max_of(2.5, kNaN), 2.5);
    EXPECT_EQ(min_of(kNaN, -7.0), -7.0);
    EXPECT_EQ(min_of(-7.0, kNaN), -7.0);
    // The other operand comes back as it is, the sign of a zero included.
    EXPECT_TRUE(std::signbit(max_of(kNaN, -0.0)));
    EXPECT_TRUE(std::signbit(max_of(-0.0, kNaN)));
    EXPECT_TRUE(std::signbit(min_of(kNaN, -0.0)));
    EXPECT_FALSE(std::signbit(min_of(0.0, -kNaN)));
}

TEST(MinMaxIgnoringNan, TwoNansGiveANan) {
    EXPECT_TRUE(std::isnan(max_of(kNaN, kNaN)));
    EXPECT_TRUE(std::isnan(min_of(kNaN, -kNaN)));
}

TEST(MinMaxIgnoringNan, OrdinaryValues) {
    EXPECT_EQ(max_of(1.0, 2.0), 2.0);
    EXPECT_EQ(max_of(2.0, 1.0), 2.0);
    EXPECT_EQ(max_of(-3.0, -5.0), -3.0);
    EXPECT_EQ(min_of(1.0, 2.0), 1.0);
    EXPECT_EQ(min_of(2.0, 1.0), 1.0);
    EXPECT_EQ(min_of(-3.0, -5.0), -5.0);
    // Neighbouring doubles are told apart.
    EXPECT_EQ(max_of(1.0, 1.0000000000000002), 1.0000000000000002);
    EXPECT_EQ(min_of(1.0000000000000002, 1.0), 1.0);
}

TEST(MinMaxIgnoringNan, Infinities) {
    EXPECT_EQ(max_of(-kInf, 1.0), 1.0);
    EXPECT_EQ(max_of(1.0, kInf), kInf);
    EXPECT_EQ(min_of(kInf, 1.0), 1.0);
    EXPECT_EQ(min_of(-kInf, kInf), -kInf);
    EXPECT_EQ(max_of(-kInf, kInf), kInf);
    EXPECT_EQ(max_of(kNaN, -kInf), -kInf);
    EXPECT_EQ(min_of(kInf, kNaN), kInf);
    EXPECT_EQ(max_of(kInf, kInf), kInf);
}

}  // namespace
