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

const Candle kLongBlack = K(14, 14.5, 9.5, 10);  // range 5, body 4
const Candle kLongWhite = K(10, 14.5, 9.5, 14);

TEST(PatternThreeCandle, GapAndDoji) {
    EXPECT_EQ(code("AbandonedBaby", {kLongBlack, K(8.5, 9, 8, 8.5), K(9.5, 12, 9.25, 11.5)}), 1.0);
    EXPECT_EQ(code("AbandonedBaby", {kLongWhite, K(15.5, 16, 15, 15.5), K(14.5, 14.75, 12, 13)}), -1.0);
    EXPECT_EQ(code("AbandonedBaby", {kLongBlack, K(8.25, 9, 8, 8.75), K(9.5, 12, 9.25, 11.5)}), 0.0);
    EXPECT_EQ(code("AbandonedBaby", {kLongBlack, K(8.5, 9, 8, 8.5), K(9.5, 12, 9, 11.5)}), 0.0);  // no gap
    // A middle candle at open = close = 0 is a doji against the price level.
    EXPECT_EQ(code("AbandonedBaby", {K(3, 3, 1, 1), K(0, 0.5, 0, 0), K(1, 2, 0.75, 1.5)}), 1.0);

    // Closes must fall strictly below C1 - 0.3 (C1 - O1) = 12.8.
    const Candle doji = K(15, 16, 14.5, 15);
    EXPECT_EQ(code("EveningDojiStar", {kLongWhite, doji, K(14.5, 14.75, 12, 12.5)}), -1.0);
    EXPECT_EQ(code("EveningDojiStar", {kLongWhite, doji, K(14.5, 14.75, 12, 12.8)}), 0.0);
    EXPECT_EQ(code("EveningDojiStar", {kLongWhite, K(15, 16, 14.5, 15.25), K(14.5, 14.75, 12, 12.5)}), 0.0);

    EXPECT_EQ(code("MorningDojiStar", {K(20, 20.5, 15.5, 16), K(15, 15.5, 14.5, 15), K(15.5, 19, 15.25, 18)}), 1.0);
    EXPECT_EQ(code("MorningDojiStar", {K(20, 20.5, 15.5, 16), K(15, 15.5, 14.5, 15), K(15, 19, 15, 18)}), 0.0);

    EXPECT_EQ(code("MorningEveningStar", {K(20, 20.5, 15.5, 16), K(15, 15.5, 14.5, 15), K(15.5, 19, 15.25, 18)}), 1.0);
    // No body gap needed against candle 3 here, unlike MorningDojiStar.
    EXPECT_EQ(code("MorningEveningStar", {K(20, 20.5, 15.5, 16), K(15, 15.5, 14.5, 15), K(15, 19, 15, 18)}), 1.0);
    EXPECT_EQ(code("MorningEveningStar", {K(16, 20.5, 15.5, 20), K(21, 21.5, 20.5, 21), K(20.5, 20.75, 17, 18)}), -1.0);
    EXPECT_EQ(code("MorningEveningStar", {K(20, 20.5, 15.5, 16), K(15, 15.5, 14.5, 15), K(15.5, 17.25, 15.25, 17)}), 0.0);
    EXPECT_EQ(code("MorningEveningStar", {K(20, 20.5, 15.5, 16), K(13, 15.5, 12, 15.25), K(15.5, 19, 15.25, 18)}), 0.0);

    EXPECT_EQ(code("Tristar", {K(10, 10.5, 9.5, 10), K(9, 9.25, 8.75, 9), K(9.5, 10, 9, 9.5)}), 1.0);
    EXPECT_EQ(code("Tristar", {K(10, 10.5, 9.5, 10), K(11, 11.25, 10.75, 11), K(10.5, 11, 10, 10.5)}), -1.0);
    EXPECT_EQ(code("Tristar", {K(10, 10.5, 9.5, 10), K(9, 9.25, 8.75, 9), K(9.5, 10, 9, 10)}), 0.0);
    EXPECT_EQ(code("Tristar", {K(10, 10, 10, 10), K(9, 9, 9, 9), K(9.5, 9.5, 9.5, 9.5)}), 0.0);
}

TEST(PatternThreeCandle, ContinuationAndBlocks) {
    const Candle c1 = K(14, 14.5, 11.5, 12), c2 = K(11, 11.25, 8.75, 9);
    EXPECT_EQ(code("DownsideGapThreeMethods", {c1, c2, K(10, 13, 9.5, 12.5)}), -1.0);
    EXPECT_EQ(code("DownsideGapThreeMethods", {c1, c2, K(10, 14.5, 9.5, 14.25)}), 0.0);
    EXPECT_EQ(code("DownsideGapThreeMethods", {c1, c2, K(9, 13, 9, 12.5)}), 0.0);  // opens at C2

    const Candle low1 = K(8, 10.5, 7.5, 10);
    EXPECT_EQ(code("GapSideBySideWhite", {low1, K(11, 13, 11, 12.5), K(11.125, 13, 11, 12.875)}), 1.0);
    EXPECT_EQ(code("GapSideBySideWhite", {c1, K(9, 11, 9, 10.5), K(9.125, 11, 9, 10.875)}), -1.0);
    // Body 2 exactly twice body 3 still counts.
    EXPECT_EQ(code("GapSideBySideWhite", {low1, K(11, 13, 11, 13), K(11, 12, 11, 12)}), 1.0);
    EXPECT_EQ(code("GapSideBySideWhite", {low1, K(11, 13, 11, 13), K(11, 12, 11, 11.75)}), 0.0);
    EXPECT_EQ(code("GapSideBySideWhite", {low1, K(11, 13, 11, 12.5), K(11.5, 13, 11.5, 12.75)}), 0.0);

    const Candle a1 = K(10, 14.5, 9.5, 14), a2 = K(12, 15.5, 11.5, 15);
    EXPECT_EQ(code("AdvanceBlock", {a1, a2, K(14, 17, 13.5, 16)}), -1.0);
    EXPECT_EQ(code("AdvanceBlock", {a1, a2, K(14, 16, 13.5, 16)}), 0.0);      // closes at its high
    EXPECT_EQ(code("AdvanceBlock", {a1, a2, K(14, 18.5, 13.5, 18)}), 0.0);    // body grows

    EXPECT_EQ(code("IdenticalThreeCrows", {K(20, 20, 17.5, 18), K(18, 18, 15.5, 16), K(16, 16, 13.5, 14)}), -1.0);
    EXPECT_EQ(code("IdenticalThreeCrows", {K(20, 20, 17.5, 18), K(18.5, 18.5, 15.5, 16), K(16, 16, 13.5, 14)}), 0.0);

    const Candle h1 = K(12, 14, 8, 10), h2 = K(11, 13, 9, 12);
    EXPECT_EQ(code("Hikkake", {h1, h2, K(10, 12, 7, 8)}), 1.0);
    EXPECT_EQ(code("Hikkake", {h1, h2, K(12, 15, 10, 14)}), -1.0);
    EXPECT_EQ(code("Hikkake", {h1, K(11, 14, 9, 12), K(10, 12, 7, 8)}), 0.0);  // H2 = H1
    EXPECT_EQ(code("Hikkake", {h1, h2, K(10, 12, 9, 10)}), 0.0);               // equal low
}

TEST(PatternThreeCandle, BodiesAndShadows) {
    EXPECT_EQ(code("TowerTopBottom", {kLongWhite, K(14, 14, 14, 14), kLongBlack}), -1.0);  // flat middle is small
    EXPECT_EQ(code("TowerTopBottom", {kLongBlack, K(10, 10.5, 9.5, 10.25), kLongWhite}), 1.0);
    EXPECT_EQ(code("TowerTopBottom", {kLongBlack, K(10, 11, 9, 10.75), kLongWhite}), 0.0);
    EXPECT_EQ(code("TowerTopBottom", {kLongWhite, K(14, 14, 14, 14), kLongWhite}), 0.0);

    const Candle s1 = K(20, 20, 12, 16), s2 = K(18, 18.5, 14, 16.5);
    EXPECT_EQ(code("ThreeStarsInSouth", {s1, s2, K(16, 16, 15, 15)}), 1.0);
    EXPECT_EQ(code("ThreeStarsInSouth", {s1, s2, K(16, 16.25, 15, 15)}), 0.0);

    const Candle r1 = K(20, 20.5, 15.5, 16), r2 = K(18, 18.5, 14, 17);
    EXPECT_EQ(code("UniqueThreeRiver", {r1, r2, K(15, 17, 14.5, 15.5)}), 1.0);
    EXPECT_EQ(code("UniqueThreeRiver", {r1, r2, K(15, 17.25, 14.5, 15.5)}), 0.0);

    const Candle w2 = K(17, 19.5, 16.5, 19);
    EXPECT_EQ(code("StickSandwich", {r1, w2, K(19.5, 20, 15.5, 16)}), 1.0);
    EXPECT_EQ(code("StickSandwich", {r1, w2, K(19.5, 20, 15.5, 15.5)}), 1.0);  // exactly 0.1 r1 apart
    EXPECT_EQ(code("StickSandwich", {r1, w2, K(19.5, 20, 15.25, 15.4375)}), 0.0);

    const Candle t2 = K(13, 17.5, 12.5, 17);
    EXPECT_EQ(code("StalledPattern", {kLongWhite, t2, K(17, 18, 16.5, 17.25)}), -1.0);
    EXPECT_EQ(code("StalledPattern", {kLongWhite, t2, K(16.5, 18.5, 16.25, 17.125)}), -1.0);  // O3 = C2 - 0.1 r2
    EXPECT_EQ(code("StalledPattern", {kLongWhite, t2, K(16.25, 19.5, 16, 17.125)}), 0.0);     // opens lower
    EXPECT_EQ(code("StalledPattern", {kLongWhite, t2, K(17, 17, 17, 17)}), 0.0);
    EXPECT_EQ(code("StalledPattern", {kLongWhite, t2, K(17, 18.5, 16.75, 18.25)}), 0.0);
}

TEST(PatternThreeCandle, Sequences) {
    const Candle b2 = K(16, 16.5, 14.75, 15);
    EXPECT_EQ(code("TwoCrows", {kLongWhite, b2, K(15.5, 15.75, 11.5, 12)}), -1.0);
    EXPECT_EQ(code("TwoCrows", {kLongWhite, b2, K(15.5, 15.75, 9, 9.5)}), 0.0);
    EXPECT_EQ(code("UpsideGapTwoCrows", {kLongWhite, b2, K(16.5, 17, 14.25, 14.5)}), -1.0);
    EXPECT_EQ(code("UpsideGapTwoCrows", {kLongWhite, b2, K(16.5, 17, 13.5, 14)}), 0.0);

    const Candle w2 = K(15, 17.5, 14.75, 17);
    EXPECT_EQ(code("UpsideGapThreeMethods", {kLongWhite, w2, K(16, 16.5, 11.5, 12)}), 1.0);
    EXPECT_EQ(code("UpsideGapThreeMethods", {kLongWhite, w2, K(17.25, 17.5, 11.5, 12)}), 0.0);

    EXPECT_EQ(code("TasukiGap", {kLongWhite, w2, K(16, 16.5, 14.25, 14.5)}), 1.0);
    EXPECT_EQ(code("TasukiGap", {kLongWhite, w2, K(16, 16.5, 13.5, 13.75)}), 0.0);
    const Candle d2 = K(15, 15.25, 12.5, 13), d3 = K(14, 15.75, 13.75, 15.5);
    EXPECT_EQ(code("TasukiGap", {K(20, 20.5, 15.5, 16), d2, d3}), -1.0);
    EXPECT_EQ(code("TasukiGap", {K(15.5, 16.5, 15, 16), d2, d3}), 0.0);  // white candle 1
    EXPECT_EQ(code("TasukiGap", {K(16, 16.5, 15.5, 16), d2, d3}), 0.0);  // C1 = O1

    // Opens may equal the previous open or close; closes must advance strictly.
    const Candle g1 = K(10, 12.5, 9.5, 12), g2 = K(10, 14.5, 9.75, 14);
    EXPECT_EQ(code("ThreeSoldiersOrCrows", {g1, g2, K(14, 16.5, 13.75, 16)}), 1.0);
    EXPECT_EQ(code("ThreeSoldiersOrCrows", {g1, g2, K(13, 14.5, 12.75, 14)}), 0.0);
    EXPECT_EQ(code("ThreeSoldiersOrCrows", {K(20, 20.5, 17.5, 18), K(18, 18.25, 15.5, 16), K(18, 18.25, 13.5, 14)}),
              -1.0);

    const Candle o1b = K(12, 12.5, 9.5, 10), o1w = K(10, 12.5, 9.5, 12);
    EXPECT_EQ(code("ThreeOutside", {o1b, K(10, 13, 9.75, 12.5), K(12.5, 14, 12.25, 13.5)}), 1.0);
    EXPECT_EQ(code("ThreeOutside", {o1w, K(12, 12.25, 9, 9.5), K(9.5, 9.75, 8, 8.5)}), -1.0);
    EXPECT_EQ(code("ThreeOutside", {o1b, K(10, 13, 9.75, 12), K(12.5, 14, 12.25, 13.5)}), 0.0);  // equal bodies
    EXPECT_EQ(code("ThreeOutside", {o1b, K(10, 13, 9.75, 12.5), K(12, 13, 11.75, 12.25)}), 0.0);

    EXPECT_EQ(code("ThreeInside", {o1b, K(10.5, 11.75, 10.25, 11.5), K(11.5, 13, 11.25, 12.5)}), 1.0);
    EXPECT_EQ(code("ThreeInside", {o1w, K(11.5, 11.75, 10.25, 10.5), K(10.5, 10.75, 9, 9.5)}), -1.0);
    EXPECT_EQ(code("ThreeInside", {o1b, K(10, 12.25, 9.75, 12), K(11.5, 13, 11.25, 12.5)}), 0.0);  // equal bodies
    EXPECT_EQ(code("ThreeInside", {o1b, K(10.5, 11.75, 10.25, 11.5), K(11.5, 12.25, 11.25, 12)}), 0.0);
}
