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

TEST(PatternFourCandle, SwallowHikkakeAndStrike) {
    const Candle m1 = K(20, 20, 16, 16), m2 = K(16, 16, 12, 12), s3 = K(11, 13, 10, 10.5);
    EXPECT_EQ(code("ConcealingBabySwallow", {m1, m2, s3, K(14, 14, 9, 9.5)}), 1.0);
    EXPECT_EQ(code("ConcealingBabySwallow", {m1, m2, s3, K(14, 14, 9, 10)}), 0.0);  // closes exactly at L3
    EXPECT_EQ(code("ConcealingBabySwallow", {K(20, 20, 15, 16), m2, s3, K(14, 14, 9, 9.5)}), 0.0);

    // Candle 2 spans 5..15, so its fifth is (15 - 5) x 0.2 = 2.
    const Candle h1 = K(12, 18, 2, 10), h3 = K(10, 13, 7, 11);
    EXPECT_EQ(code("HikkakeModified", {h1, K(9, 15, 5, 7), h3, K(9, 12, 6, 8)}), 1.0);  // C2 exactly L2 + 2
    EXPECT_EQ(code("HikkakeModified", {h1, K(9, 15, 5, 13), h3, K(11, 14, 8, 13.5)}), -1.0);  // C2 exactly H2 - 2
    EXPECT_EQ(code("HikkakeModified", {h1, K(9, 15, 5, 10), h3, K(9, 12, 6, 8)}), 0.0);
    EXPECT_EQ(code("HikkakeModified", {h1, K(9, 15, 5, 7), K(10, 15, 7, 11), K(9, 12, 6, 8)}), 0.0);  // H3 = H2

    const Candle w1 = K(10, 12.5, 9.5, 12), w2 = K(11, 14.5, 10.75, 14), w3 = K(13, 16.5, 12.75, 16);
    EXPECT_EQ(code("ThreeLineStrike", {w1, w2, w3, K(16.5, 17, 9, 9.5)}), 1.0);
    EXPECT_EQ(code("ThreeLineStrike", {w1, w2, w3, K(16.5, 17, 9, 10)}), 0.0);  // closes exactly at O1
    EXPECT_EQ(code("ThreeLineStrike",
                   {K(20, 20.5, 17.5, 18), K(19, 19.25, 15.5, 16), K(17, 17.25, 13.5, 14), K(13.5, 21, 13, 20.5)}),
              -1.0);
}

TEST(PatternFiveCandle, BreakawayAndLadder) {
    const Candle b1 = K(20, 20.5, 15.5, 16), b2 = K(15, 15.25, 13.75, 14), b3 = K(13.5, 14, 12, 12.5),
                 b4 = K(12.5, 13, 11, 11.5);
    EXPECT_EQ(code("Breakaway", {b1, b2, b3, b4, K(11.5, 15.75, 11.25, 15.5)}), 1.0);
    EXPECT_EQ(code("Breakaway", {b1, b2, b3, b4, K(11.5, 16.5, 11.25, 16.25)}), 0.0);  // above C1
    EXPECT_EQ(code("Breakaway", {b1, b2, b3, b4, K(11.5, 15.25, 11.25, 15)}), 0.0);    // at O2
    EXPECT_EQ(code("Breakaway", {K(10, 14.5, 9.5, 14), K(15, 16.25, 14.75, 16), K(16.5, 18, 16, 17.5),
                                 K(17.5, 19, 17, 18.5), K(18.5, 18.75, 14.25, 14.5)}),
              -1.0);

    const Candle l1 = K(20, 20.5, 17.5, 18), l2 = K(19, 19.5, 16.5, 17), l3 = K(18, 18.5, 15.5, 16);
    EXPECT_EQ(code("LadderBottom", {l1, l2, l3, K(16.5, 17, 14.5, 15), K(17, 18, 16.75, 17.5)}), 1.0);
    EXPECT_EQ(code("LadderBottom", {l1, l2, l3, K(16.5, 17, 14.5, 15), K(16.75, 17.25, 16.5, 17)}), 0.0);
    EXPECT_EQ(code("LadderBottom", {l1, l2, l3, K(16.5, 16.5, 14.5, 15), K(17, 18, 16.75, 17.5)}), 0.0);
}

TEST(PatternFiveCandle, ThreeMethodsAndMatHold) {
    const Candle f1 = K(20, 20.5, 11.5, 12), f2 = K(12.5, 14, 12, 13.5), f3 = K(13, 15, 12.5, 14.5),
                 f4 = K(14, 16, 13.5, 15.5), f5 = K(15, 15.25, 10.75, 11);
    EXPECT_EQ(code("FallingThreeMethods", {f1, f2, f3, f4, f5}), -1.0);
    EXPECT_EQ(code("FallingThreeMethods", {f1, f2, K(14.5, 15, 12.5, 14), f4, f5}), 0.0);  // black middle
    EXPECT_EQ(code("FallingThreeMethods", {f1, f2, K(14, 15, 12.5, 14), f4, f5}), 0.0);    // no body
    EXPECT_EQ(code("FallingThreeMethods", {f1, f2, f3, f4, K(15, 15.25, 10.75, 12)}), 0.0);  // closes at C1

    const Candle r1 = K(10, 18.5, 9.5, 18), r2 = K(17.5, 18, 16, 16.5), r3 = K(16.5, 17, 15, 15.5),
                 r4 = K(15.5, 16, 14, 14.5), r5 = K(15, 19.25, 14.75, 19);
    EXPECT_EQ(code("RisingThreeMethods", {r1, r2, r3, r4, r5}), 1.0);
    EXPECT_EQ(code("RisingThreeMethods", {K(10, 10, 10, 10), r2, r3, r4, r5}), 0.0);
    EXPECT_EQ(code("RisingThreeMethods", {r1, K(16.5, 18, 16, 17.5), r3, r4, r5}), 0.0);  // white middle

    const Candle m2 = K(19, 19.5, 18.25, 19.25), m3 = K(19, 19.25, 17, 17.5), m4 = K(17.5, 18, 16.5, 17);
    EXPECT_EQ(code("MatHold", {r1, m2, m3, m4, K(17, 20, 16.75, 19.75)}), 1.0);
    EXPECT_EQ(code("MatHold", {r1, m2, m3, m4, K(17, 20, 16.75, 19.5)}), 0.0);  // exactly the highest high
    EXPECT_EQ(code("MatHold", {K(10, 10, 10, 10), m2, m3, m4, K(17, 20, 16.75, 19.75)}), 0.0);
    EXPECT_EQ(code("MatHold", {r1, K(17.75, 19.5, 17.5, 19.25), m3, m4, K(17, 20, 16.75, 19.75)}), 0.0);  // no gap
}

// Rounded top and bottom over a window of closes.
std::vector<std::optional<double>> closes_through(std::string_view kind, std::size_t period,
                                                  const std::vector<double>& closes) {
    std::vector<std::optional<double>> out;
    auto ind = make(kind, {static_cast<double>(period)});
    if (!ind) return out;
    EXPECT_EQ(ind->warmup_period(), period);
    for (double c : closes) out.push_back(ind->update(bar(K(c, c, c, c))));
    return out;
}

double window_code(std::string_view kind, std::size_t period, const std::vector<double>& closes) {
    auto out = closes_through(kind, period, closes);
    for (std::size_t i = 0; i + 1 < period && i < out.size(); ++i) EXPECT_FALSE(out[i].has_value());
    return out.empty() || !out.back() ? std::nan("") : *out.back();
}

TEST(PatternWindow, DumplingTop) {
    EXPECT_EQ(window_code("DumplingTop", 5, {10, 11, 12, 11, 9}), -1.0);
    EXPECT_EQ(window_code("DumplingTop", 5, {10, 10.5, 11, 12, 9.5}), -1.0);  // highest at position 3
    EXPECT_EQ(window_code("DumplingTop", 5, {10, 12, 11, 10.5, 10}), 0.0);    // back at the first close
    EXPECT_EQ(window_code("DumplingTop", 5, {12, 11, 10.5, 10.25, 10}), 0.0);  // highest at position 0
    EXPECT_EQ(window_code("DumplingTop", 5, {12, 11, 12, 11, 9}), 0.0);        // tie: the earlier one counts
    // Period 8: q = 2, positions 2..5 qualify.
    EXPECT_EQ(window_code("DumplingTop", 8, {10, 12, 10, 10, 10, 10, 10, 9}), 0.0);
    EXPECT_EQ(window_code("DumplingTop", 8, {10, 10, 12, 10, 10, 10, 10, 9}), -1.0);
    EXPECT_EQ(window_code("DumplingTop", 8, {10, 10, 10, 10, 10, 12, 11, 9}), -1.0);
    EXPECT_EQ(window_code("DumplingTop", 8, {10, 10, 10, 10, 10, 10, 12, 9}), 0.0);
    // The window slides: the sixth close is judged on closes 2..6.
    auto out = closes_through("DumplingTop", 5, {12, 10, 11, 10.5, 10.25, 9.5});
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[4], std::optional<double>(0.0));
    EXPECT_EQ(out[5], std::optional<double>(-1.0));
}

TEST(PatternWindow, FryPanBottom) {
    EXPECT_EQ(window_code("FryPanBottom", 5, {10, 9, 8, 9, 11}), 1.0);
    EXPECT_EQ(window_code("FryPanBottom", 5, {8, 9, 8, 9, 11}), 0.0);   // tie at position 0
    EXPECT_EQ(window_code("FryPanBottom", 5, {10, 9, 8, 9, 10}), 0.0);  // not above the first close
    EXPECT_EQ(window_code("FryPanBottom", 5, {10, 9, 9.5, 9.75, 8}), 0.0);  // lowest is the current close
}
