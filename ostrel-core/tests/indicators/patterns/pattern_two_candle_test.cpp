#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/pattern_support.hpp"

using namespace ostrel;
using namespace pattern_support;

// Shared by several rows: a long black candle (range 5, body 4) and its white mirror.
const Candle kLongBlack = K(14, 14.5, 9.5, 10);
const Candle kLongWhite = K(10, 14.5, 9.5, 14);

TEST(PatternTwoCandle, EngulfingAndHarami) {
    EXPECT_EQ(code("Engulfing", {K(10, 11, 7, 8), K(8, 12, 7.5, 11)}), 1.0);  // opens exactly at C1
    EXPECT_EQ(code("Engulfing", {K(8, 11, 7, 10), K(10.5, 11, 6, 7.5)}), -1.0);
    EXPECT_EQ(code("Engulfing", {K(10, 11, 7, 8), K(8, 11, 7, 10)}), 0.0);  // equal bodies
    EXPECT_EQ(code("Engulfing", {K(9, 11, 7, 9), K(8, 12, 7, 11)}), 0.0);   // candle 1 without body
    EXPECT_EQ(code("Engulfing", {K(10, 11, 7, 8), K(8.25, 12, 7.5, 11)}), 0.0);  // opens above C1

    EXPECT_EQ(code("Harami", {K(12, 13, 7, 8), K(9, 11, 8.5, 10.5)}), 1.0);
    EXPECT_EQ(code("Harami", {K(8, 13, 7, 12), K(10.5, 11, 8.5, 9)}), -1.0);
    EXPECT_EQ(code("Harami", {K(12, 13, 7, 8), K(8, 12.5, 7.5, 12)}), 0.0);   // equal bodies
    EXPECT_EQ(code("Harami", {K(12, 13, 7, 8), K(7.5, 11, 7, 10.5)}), 0.0);  // opens below C1

    EXPECT_EQ(code("HaramiCross", {K(12, 13, 7, 8), K(10, 11, 9, 10)}), 1.0);
    EXPECT_EQ(code("HaramiCross", {K(8, 13, 7, 12), K(10, 11, 9, 10)}), -1.0);
    // A flat candle 1 is no doji; the direction then defaults to -1.
    EXPECT_EQ(code("HaramiCross", {K(5, 5, 5, 5), K(5, 6, 4, 5)}), -1.0);
    EXPECT_EQ(code("HaramiCross", {K(12, 13, 7, 8), K(10, 11, 9, 10.5)}), 0.0);  // candle 2 no doji
    EXPECT_EQ(code("HaramiCross", {K(12, 13, 7, 8), K(12.5, 13, 12, 12.5)}), 0.0);  // outside the body
    EXPECT_EQ(code("HaramiCross", {K(10, 11, 9, 10), K(10, 11, 9, 10)}), 0.0);  // candle 1 a doji too

    EXPECT_EQ(code("HomingPigeon", {K(12, 13, 7, 8), K(11, 11.5, 8.5, 9)}), 1.0);
    EXPECT_EQ(code("HomingPigeon", {K(12, 13, 7, 8), K(12.5, 13, 8.5, 9)}), 0.0);
    EXPECT_EQ(code("HomingPigeon", {K(12, 13, 7, 8), K(9, 11.5, 8.5, 11)}), 0.0);  // white candle 2
}

TEST(PatternTwoCandle, Kicking) {
    const Candle black = K(10, 10, 8, 8), white = K(11, 13, 11, 13);
    EXPECT_EQ(code("Kicking", {black, white}), 1.0);
    EXPECT_EQ(code("Kicking", {white, black}), -1.0);
    EXPECT_EQ(code("Kicking", {black, K(10, 12, 10, 12)}), 0.0);  // shadows touch
    EXPECT_EQ(code("Kicking", {black, K(11, 13.5, 11, 13)}), 0.0);  // body 2 < 0.95 r
    // By length: the longer body decides, candle 1 on a tie.
    EXPECT_EQ(code("KickingByLength", {black, white}), -1.0);
    EXPECT_EQ(code("KickingByLength", {black, K(11, 14, 11, 14)}), 1.0);
    EXPECT_EQ(code("KickingByLength", {white, black}), 1.0);
    EXPECT_EQ(code("KickingByLength", {white, K(10, 10, 7, 7)}), -1.0);
    EXPECT_EQ(code("KickingByLength", {black, K(10, 12, 10, 12)}), 0.0);
    EXPECT_EQ(code("KickingByLength", {white, K(12, 12, 10, 10)}), 0.0);  // no gap down
}

TEST(PatternTwoCandle, StarAndNeck) {
    EXPECT_EQ(code("DojiStar", {kLongBlack, K(8.5, 9, 8, 8.5)}), 1.0);
    EXPECT_EQ(code("DojiStar", {kLongWhite, K(15, 16, 15, 15)}), -1.0);
    EXPECT_EQ(code("DojiStar", {kLongBlack, K(10, 10.5, 9.5, 10)}), 0.0);  // body touches C1
    EXPECT_EQ(code("DojiStar", {K(12, 14.5, 9.5, 10), K(8.5, 9, 8, 8.5)}), 0.0);  // body 2 < 0.5 r

    EXPECT_EQ(code("InNeck", {kLongBlack, K(9, 10.5, 9, 10.25)}), -1.0);
    EXPECT_EQ(code("InNeck", {kLongBlack, K(9, 10.5, 9, 10)}), -1.0);  // closes exactly at C1
    EXPECT_EQ(code("InNeck", {kLongBlack, K(9, 11, 9, 10.5)}), 0.0);  // more than a tenth above
    EXPECT_EQ(code("InNeck", {kLongBlack, K(9.5, 10.5, 9.5, 10.25)}), 0.0);  // opens at L1

    EXPECT_EQ(code("Thrusting", {kLongBlack, K(9, 11.5, 9, 11)}), -1.0);
    EXPECT_EQ(code("Thrusting", {kLongBlack, K(9, 10.5, 9, 10.25)}), 0.0);  // not above C1 + 0.4
    EXPECT_EQ(code("Thrusting", {kLongBlack, K(9, 12.5, 9, 12)}), 0.0);     // reaches the body middle
    EXPECT_EQ(code("Thrusting", {K(10, 10, 10, 10), K(9, 11.5, 9, 11)}), 0.0);

    EXPECT_EQ(code("OnNeck", {kLongBlack, K(9, 9.75, 9, 9.5)}), -1.0);
    EXPECT_EQ(code("OnNeck", {kLongBlack, K(9, 9.75, 9, 9.75)}), -1.0);  // exactly 0.05 pr above pL
    EXPECT_EQ(code("OnNeck", {kLongBlack, K(9, 10, 9, 10)}), 0.0);
    EXPECT_EQ(code("OnNeck", {K(10, 10, 10, 10), K(9, 9.75, 9, 9.5)}), 0.0);
}

TEST(PatternTwoCandle, CloseToClose) {
    EXPECT_EQ(code("Counterattack", {K(14, 14, 10, 10), K(6, 10, 6, 10)}), 1.0);
    EXPECT_EQ(code("Counterattack", {K(10, 14, 10, 14), K(18, 18, 14, 14)}), -1.0);
    // Tolerance (4 + 4.25) * 0.025 = 0.20625 against a gap of 0.25.
    EXPECT_EQ(code("Counterattack", {K(14, 14, 10, 10), K(6, 10.25, 6, 10.25)}), 0.0);
    // Tolerance (20 + 20) * 0.025 = 1 exactly against a gap of 1: inclusive.
    EXPECT_EQ(code("Counterattack", {K(40, 40, 20, 20), K(1, 21, 1, 21)}), 1.0);
    EXPECT_EQ(code("Counterattack", {K(5, 5, 5, 5), K(5, 5, 5, 5)}), 0.0);

    EXPECT_EQ(code("MatchingLow", {K(12, 12.5, 9.5, 10), K(11, 11.5, 10, 10)}), 1.0);
    EXPECT_EQ(code("MatchingLow", {K(8, 10.5, 7.5, 10), K(9, 10.5, 8.5, 10)}), 0.0);  // two white
    EXPECT_EQ(code("MatchingLow", {K(12, 12.5, 9.5, 10), K(11, 11.5, 9.5, 9.75)}), 0.0);

    const Candle c1 = K(101, 105, 100, 104);
    EXPECT_EQ(code("Tweezer", {c1, K(104, 106, 100.1, 102)}), 1.0);  // 0.1 <= 0.001 x 100.1
    EXPECT_EQ(code("Tweezer", {c1, K(104, 106, 100.2, 102)}), 0.0);
    EXPECT_EQ(code("Tweezer", {c1, K(104, 105, 102, 103)}), -1.0);
    EXPECT_EQ(code("Tweezer", {c1, K(104, 105, 100, 102)}), 1.0);  // lows tested first
    EXPECT_EQ(code("Tweezer", {K(0, 1, 0, 1), K(0, 2, 0, 1)}), 1.0);  // two zero lows match
}

TEST(PatternTwoCandle, PiercingAndSeparating) {
    EXPECT_EQ(code("PiercingDarkCloud", {kLongBlack, K(9, 13, 9, 12.5)}), 1.0);
    EXPECT_EQ(code("PiercingDarkCloud", {kLongBlack, K(9, 12, 9, 12)}), 0.0);  // exactly at the middle
    EXPECT_EQ(code("PiercingDarkCloud", {kLongWhite, K(15, 15, 11, 11.5)}), -1.0);
    EXPECT_EQ(code("PiercingDarkCloud", {kLongWhite, K(14.5, 14.5, 11, 11.5)}), 0.0);  // opens at pH

    EXPECT_EQ(code("SeparatingLines", {K(10, 10.5, 7.5, 8), K(10, 14, 10, 13.5)}), 1.0);
    EXPECT_EQ(code("SeparatingLines", {K(10, 12.5, 9.5, 12), K(10, 10, 6, 6.5)}), -1.0);
    EXPECT_EQ(code("SeparatingLines", {K(10, 10.5, 7.5, 8), K(10.5, 14.5, 10.5, 14)}), 0.0);
    EXPECT_EQ(code("SeparatingLines", {K(10, 10.5, 7.5, 8), K(10, 14, 9.5, 13.5)}), 0.0);  // lower shadow
}
