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

// Doji family: body against the range.
TEST(PatternOneCandle, DojiFamily) {
    EXPECT_EQ(code("Doji", {K(5, 10, 0, 6)}), 1.0);  // body exactly 0.1 r
    EXPECT_EQ(code("Doji", {K(5, 10, 0, 6.25)}), 0.0);
    EXPECT_EQ(code("LongLeggedDoji", {K(5, 10, 0, 5.5)}), 1.0);
    EXPECT_EQ(code("LongLeggedDoji", {K(3, 10, 0, 3)}), 1.0);    // lower shadow exactly 0.3 r
    EXPECT_EQ(code("LongLeggedDoji", {K(2.5, 10, 0, 3)}), 0.0);  // lower shadow 2.5 < 3
    EXPECT_EQ(code("LongLeggedDoji", {K(4, 10, 0, 6)}), 0.0);    // body 2 above 0.1 r
    EXPECT_EQ(code("GravestoneDoji", {K(0.5, 10, 0, 0)}), -1.0);
    EXPECT_EQ(code("GravestoneDoji", {K(1, 10, 0, 1)}), -1.0);  // lower shadow exactly 0.1 r
    EXPECT_EQ(code("GravestoneDoji", {K(2, 10, 0, 2.5)}), 0.0);
    EXPECT_EQ(code("GravestoneDoji", {K(9.5, 10, 0, 10)}), 0.0);  // never +1
    EXPECT_EQ(code("DragonflyDoji", {K(9.5, 10, 0, 10)}), 1.0);
    EXPECT_EQ(code("DragonflyDoji", {K(7.5, 10, 0, 8)}), 0.0);
    EXPECT_EQ(code("DragonflyDoji", {K(0.5, 10, 0, 0)}), 0.0);  // never -1
    // HighWave ignores the body and the colour.
    EXPECT_EQ(code("HighWave", {K(4, 10, 0, 6)}), 1.0);
    EXPECT_EQ(code("HighWave", {K(6, 10, 0, 4)}), 1.0);
    EXPECT_EQ(code("HighWave", {K(4, 10, 0, 6.5)}), 0.0);
    EXPECT_EQ(code("Takuri", {K(9.5, 10, 0, 10)}), 1.0);
    EXPECT_EQ(code("Takuri", {K(9, 10, 0, 9.5)}), 1.0);  // upper shadow exactly 0.05 r
    EXPECT_EQ(code("Takuri", {K(8.5, 10, 0, 9)}), 0.0);
    EXPECT_EQ(code("RickshawMan", {K(4, 10, 0, 4)}), 1.0);  // body centre exactly at 0.4
    EXPECT_EQ(code("RickshawMan", {K(6, 10, 0, 6)}), 1.0);  // and at 0.6
    EXPECT_EQ(code("RickshawMan", {K(3.5, 10, 0, 3.5)}), 0.0);
    EXPECT_EQ(code("RickshawMan", {K(7, 10, 0, 7)}), 0.0);  // upper shadow 3, centre 0.7
}

// Shadow-to-body family.
TEST(PatternOneCandle, ShadowFamily) {
    // Hammer and HangingMan test the same shape with opposite signs.
    EXPECT_EQ(code("Hammer", {K(8, 10, 0, 9)}), 1.0);
    EXPECT_EQ(code("HangingMan", {K(8, 10, 0, 9)}), -1.0);
    EXPECT_EQ(code("Hammer", {K(9, 10, 0, 8)}), 1.0);
    EXPECT_EQ(code("Hammer", {K(8, 10, 0, 8.5)}), 0.0);  // upper shadow above the body
    EXPECT_EQ(code("HangingMan", {K(8, 10, 0, 8.5)}), 0.0);
    EXPECT_EQ(code("Hammer", {K(9, 10, 0, 9)}), 0.0);  // no body
    EXPECT_EQ(code("HangingMan", {K(9, 10, 0, 9)}), 0.0);
    EXPECT_EQ(code("InvertedHammer", {K(1, 10, 0, 2)}), 1.0);
    EXPECT_EQ(code("InvertedHammer", {K(1.5, 10, 0, 2)}), 0.0);
    EXPECT_EQ(code("ShootingStar", {K(1, 10, 0, 2)}), -1.0);
    EXPECT_EQ(code("ShootingStar", {K(2, 10, 0, 1)}), -1.0);
    EXPECT_EQ(code("ShootingStar", {K(1.5, 10, 0, 2)}), 0.0);
    // Spinning top: both shadows at least twice the body, inclusive.
    EXPECT_EQ(code("SpinningTop", {K(4, 7, 2, 5)}), 1.0);
    EXPECT_EQ(code("SpinningTop", {K(5, 7, 2, 4)}), -1.0);
    EXPECT_EQ(code("SpinningTop", {K(4, 7, 2.5, 5)}), 0.0);
    EXPECT_EQ(code("SpinningTop", {K(4, 7, 2, 4)}), 0.0);  // no body
}

// Long-body family: which end of the candle must be free of shadow.
TEST(PatternOneCandle, LongBodyFamily) {
    EXPECT_EQ(code("ClosingMarubozu", {K(5, 20, 0, 19)}), 1.0);  // body exactly 0.7 r, H - C exactly 0.05 r
    EXPECT_EQ(code("ClosingMarubozu", {K(15, 20, 0, 1)}), -1.0);
    EXPECT_EQ(code("ClosingMarubozu", {K(4.5, 20, 0, 18.5)}), 0.0);  // shadow at the close end
    EXPECT_EQ(code("ClosingMarubozu", {K(6, 20, 0, 19)}), 0.0);      // body 13 < 14
    EXPECT_EQ(code("BeltHold", {K(0.5, 20, 0, 12)}), 1.0);
    EXPECT_EQ(code("BeltHold", {K(19.5, 20, 0, 8)}), -1.0);
    EXPECT_EQ(code("BeltHold", {K(1, 20, 0, 11)}), 1.0);   // body exactly 0.5 r, O - L exactly 0.05 r
    EXPECT_EQ(code("BeltHold", {K(2, 20, 0, 14)}), 0.0);   // shadow at the open end
    EXPECT_EQ(code("BeltHold", {K(5, 20, 0, 14)}), 0.0);   // body 9 < 10
    EXPECT_EQ(code("OpeningMarubozu", {K(0.5, 20, 0, 15)}), 1.0);
    EXPECT_EQ(code("OpeningMarubozu", {K(19.5, 20, 0, 5)}), -1.0);
    EXPECT_EQ(code("OpeningMarubozu", {K(0.5, 20, 0, 12)}), 0.0);  // a belt hold, but body below 0.7 r
    EXPECT_EQ(code("Marubozu", {K(0.5, 20, 0, 19.5)}), 1.0);
    EXPECT_EQ(code("Marubozu", {K(19.5, 20, 0, 0.5)}), -1.0);
    EXPECT_EQ(code("Marubozu", {K(1, 20, 0, 19)}), 1.0);  // both shadows exactly 0.05 r
    EXPECT_EQ(code("Marubozu", {K(1.5, 20, 0, 19)}), 0.0);
}

TEST(PatternOneCandle, FlatCandleGivesZeroEverywhere) {
    for (std::string_view kind :
         {"Doji", "LongLeggedDoji", "GravestoneDoji", "DragonflyDoji", "HighWave", "Hammer", "HangingMan",
          "InvertedHammer", "ClosingMarubozu", "BeltHold", "Marubozu", "OpeningMarubozu", "SpinningTop",
          "ShootingStar", "Takuri", "RickshawMan"}) {
        EXPECT_EQ(code(kind, {K(5, 5, 5, 5)}), 0.0) << kind;
        EXPECT_EQ(code(kind, {K(0, 0, 0, 0)}), 0.0) << kind;
    }
}

// Judged against the mean range of the five valid candles before.
TEST(PatternOneCandle, LongAndShortLine) {
    const std::vector<Candle> five(5, K(0, 10, 0, 5));
    auto judge = [&](std::string_view kind, const Candle& c) {
        auto ind = make(kind);
        EXPECT_EQ(ind->warmup_period(), 5u);
        for (const Candle& e : five) EXPECT_FALSE(ind->update(bar(e)).has_value());
        auto v = ind->update(bar(c));
        return v ? *v : std::nan("");
    };
    EXPECT_EQ(judge("LongLine", K(0, 12, 0, 12)), 1.0);
    EXPECT_EQ(judge("LongLine", K(12, 12, 0, 0)), -1.0);
    EXPECT_EQ(judge("LongLine", K(0, 10, 0, 10)), 0.0);  // equal to the mean
    EXPECT_EQ(judge("LongLine", K(0, 12, 0, 5.5)), 0.0);  // body below half the range
    EXPECT_EQ(judge("LongLine", K(0, 12, 0, 6)), 1.0);    // body exactly half
    EXPECT_EQ(judge("ShortLine", K(0, 8, 0, 8)), 1.0);
    EXPECT_EQ(judge("ShortLine", K(8, 8, 0, 0)), -1.0);
    EXPECT_EQ(judge("ShortLine", K(0, 10, 0, 10)), 0.0);
    EXPECT_EQ(judge("ShortLine", K(3, 8, 0, 4)), 0.0);
    EXPECT_EQ(judge("ShortLine", K(3, 3, 3, 3)), -1.0);  // flat: body 0 is not below half of 0

    // The look-back slides: the seventh candle is judged against ranges 2..6
    // (10, 10, 10, 10, 40: mean 16), and an invalid candle is skipped.
    for (std::string_view kind : {"LongLine", "ShortLine"}) {
        auto ind = make(kind);
        for (const Candle& e : five) ind->update(bar(e));
        EXPECT_TRUE(ind->update(bar(K(0, 40, 0, 40))).has_value());
        EXPECT_FALSE(ind->update(bar(K(0, 1, 2, 1))).has_value());  // high below low
        auto v = ind->update(bar(K(0, 15, 0, 15)));
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, kind == "LongLine" ? 0.0 : 1.0) << kind;
    }
}
