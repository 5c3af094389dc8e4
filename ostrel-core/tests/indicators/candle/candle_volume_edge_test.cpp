// The volatility cone repeats its last cone on a close of 0 or below and forms the next
// return against the close before them; the other hand-worked volume cases are rows
// of data/volume_cases.txt.
#include "support/candle_family_support.hpp"

using namespace candlefam;

TEST(CandleVolatilityCone, NonPositiveCloseRepeatsTheCone) {
    const std::vector<FeedSnapshot> head = {flat(10, 1), flat(11, 1), flat(10.5, 1), flat(12, 1), flat(11, 1)};
    auto with_zero = make("VolatilityCone", {2, 2});
    auto without = make("VolatilityCone", {2, 2});
    feed(*with_zero, head);
    feed(*without, head);
    const auto before = outs(*with_zero);
    ASSERT_EQ(before.size(), 5u);
    EXPECT_EQ(with_zero->update(bar(1, 1, 0, 0, 1)), before[0]);       // close 0
    EXPECT_EQ(with_zero->update(bar(-1, 1, -2, -0.5, 1)), before[0]);  // negative close
    EXPECT_EQ(outs(*with_zero), before);
    EXPECT_EQ(with_zero->update(flat(13, 1)), without->update(flat(13, 1)));
    EXPECT_EQ(outs(*with_zero), outs(*without));
    EXPECT_FALSE(with_zero->update(bar(10, 9, 11, 10)));  // a failing candle never repeats
}
