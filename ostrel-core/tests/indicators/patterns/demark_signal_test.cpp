// The DeMark bar signals: each rule's buy, sell and boundary cases on hand-built
// candles (open, high, low, close).
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::bar;
using candlefam::feed;
using candlefam::make;
using candlefam::Values;
using ostrel::FeedSnapshot;

constexpr auto N = std::nullopt;

// The value on the last of `bars`, which must be the first bar with a value.
std::optional<double> signal(std::string_view kind, const std::vector<FeedSnapshot>& bars) {
    auto ind = make(kind, {});
    if (!ind) return N;
    Values v = feed(*ind, bars);
    for (std::size_t i = 0; i + 1 < v.size(); ++i) EXPECT_FALSE(v[i].has_value()) << kind << " bar " << i;
    EXPECT_TRUE(ind->outputs().empty()) << kind;
    return v.back();
}

}  // namespace

TEST(DemarkSignal, FirstValuesComeAfterOneOrTwoEarlierBars) {
    const std::vector<FeedSnapshot> bars = {bar(10, 11, 9, 10), bar(10, 11, 9, 10), bar(10, 11, 9, 10)};
    for (const char* k : {"TdPropulsion", "TdOpen", "TdClopwin", "TdClop", "TdCamouflage"})
        EXPECT_EQ(feed(*make(k, {}), bars), (Values{N, k == std::string_view("TdClopwin") ? 1.0 : 0.0,
                                                    k == std::string_view("TdClopwin") ? 1.0 : 0.0}))
            << k;
    for (const char* k : {"TdTrap", "TdDifferential"}) EXPECT_EQ(feed(*make(k, {}), bars), (Values{N, N, 0.0})) << k;
}

TEST(DemarkSignal, Trap) {
    const FeedSnapshot outer = bar(10, 12, 8, 10);
    const FeedSnapshot inside = bar(10, 11, 9, 10);
    EXPECT_EQ(signal("TdTrap", {outer, inside, bar(10.5, 11.5, 10, 11.25)}), 1.0);
    EXPECT_EQ(signal("TdTrap", {outer, inside, bar(9.5, 10, 8.5, 8.75)}), -1.0);
    EXPECT_EQ(signal("TdTrap", {outer, inside, bar(10, 11.5, 10, 11)}), 0.0);  // close at the inside high
    // The middle bar shares its high with the one before: not inside, whatever the close.
    const FeedSnapshot shared = bar(10, 12, 9, 10);
    EXPECT_EQ(signal("TdTrap", {outer, shared, bar(12, 14, 12, 13)}), 0.0);
    EXPECT_EQ(signal("TdTrap", {outer, shared, bar(8, 8, 6, 7)}), 0.0);
}

TEST(DemarkSignal, Propulsion) {
    const FeedSnapshot prev = bar(10, 12, 9, 11);
    EXPECT_EQ(signal("TdPropulsion", {prev, bar(11, 13, 11, 12.5)}), 1.0);  // opens exactly at the close
    EXPECT_EQ(signal("TdPropulsion", {prev, bar(11, 12.5, 10.5, 12)}), 0.0);  // close at the high
    EXPECT_EQ(signal("TdPropulsion", {prev, bar(10.5, 13, 10, 12.5)}), 0.0);  // opens below the close
    EXPECT_EQ(signal("TdPropulsion", {prev, bar(11, 11, 8, 8.5)}), -1.0);
    EXPECT_EQ(signal("TdPropulsion", {prev, bar(11.5, 11.5, 8, 8.5)}), 0.0);  // opens above the close
}

TEST(DemarkSignal, Open) {
    const FeedSnapshot prev = bar(10, 12, 9, 11);
    EXPECT_EQ(signal("TdOpen", {prev, bar(8, 9.5, 7.5, 9)}), 1.0);
    EXPECT_EQ(signal("TdOpen", {prev, bar(8, 9, 7.5, 8.5)}), 0.0);  // high only at the previous low
    EXPECT_EQ(signal("TdOpen", {prev, bar(13, 13.5, 11.5, 12)}), -1.0);
    EXPECT_EQ(signal("TdOpen", {prev, bar(13, 13.5, 12, 12.5)}), 0.0);  // low only at the previous high
}

TEST(DemarkSignal, Differential) {
    // Closes 12, 11, 10. Previous bar: BP1 = 11 - min(10.5, 12) = 0.5, SP1 = max(12.5, 12)
    // - 11 = 1.5. Current: BP = 10 - min(9.75, 11) = 0.25 is no rise, so 0.
    const FeedSnapshot b2 = bar(12, 12.5, 11.5, 12);
    const FeedSnapshot b1 = bar(11.5, 12.5, 10.5, 11);
    EXPECT_EQ(signal("TdDifferential", {b2, b1, bar(10.5, 10.75, 9.75, 10)}), 0.0);
    // Previous bar closing at its low: BP1 = 0, SP1 = max(11.5, 12) - 11 = 1.
    const FeedSnapshot b1low = bar(11.5, 11.5, 11, 11);
    // Current: BP = 10.5 - min(10, 11) = 0.5 > 0 and SP = max(10.75, 11) - 10.5 = 0.5 < 1.
    EXPECT_EQ(signal("TdDifferential", {b2, b1low, bar(10.75, 10.75, 10, 10.5)}), 1.0);
    // Equal selling pressure: SP = max(11, 11) - 10 = 1, not below 1.
    EXPECT_EQ(signal("TdDifferential", {b2, b1low, bar(10.5, 11, 9.5, 10)}), 0.0);
    // Mirror: closes 10, 11, 11.5 with the previous bar closing at its high.
    // BP1 = 11 - min(11, 10) = 1, SP1 = max(11, 10) - 11 = 0; current BP = 11.5 -
    // min(11.25, 11) = 0.5 < 1 and SP = max(12, 11) - 11.5 = 0.5 > 0.
    EXPECT_EQ(signal("TdDifferential", {bar(10, 10.5, 9.5, 10), bar(11, 11, 10.5, 11), bar(11.25, 12, 11.25, 11.5)}),
              -1.0);
}

TEST(DemarkSignal, ClopwinAndClop) {
    const FeedSnapshot prev = bar(10, 12, 9, 11);  // body 10 to 11
    EXPECT_EQ(signal("TdClopwin", {prev, bar(10.5, 10.5, 10.5, 10.5)}), 1.0);  // no body, inside
    EXPECT_EQ(signal("TdClopwin", {prev, bar(10, 11.5, 9.5, 11)}), 1.0);        // on both bounds
    EXPECT_EQ(signal("TdClopwin", {prev, bar(11, 11.5, 9.5, 10)}), -1.0);
    EXPECT_EQ(signal("TdClopwin", {prev, bar(10.5, 11.5, 9.5, 11.25)}), 0.0);   // close above the body
    EXPECT_EQ(signal("TdClop", {prev, bar(9.5, 12, 9, 11.5)}), 1.0);
    EXPECT_EQ(signal("TdClop", {prev, bar(10, 12, 9, 11.5)}), 0.0);  // opens at the previous open
    EXPECT_EQ(signal("TdClop", {prev, bar(11.5, 12, 9, 9.5)}), -1.0);
    EXPECT_EQ(signal("TdClop", {prev, bar(11.5, 12, 9, 10)}), 0.0);  // closes at the previous open
}

TEST(DemarkSignal, Camouflage) {
    const FeedSnapshot prev = bar(10, 12, 9, 11);
    EXPECT_EQ(signal("TdCamouflage", {prev, bar(9.5, 11, 8.5, 10.5)}), 1.0);
    EXPECT_EQ(signal("TdCamouflage", {prev, bar(9.5, 11, 9, 10.5)}), 0.0);  // low at the previous low
    EXPECT_EQ(signal("TdCamouflage", {prev, bar(12, 12.5, 11, 11.5)}), -1.0);
    EXPECT_EQ(signal("TdCamouflage", {prev, bar(12, 12, 11, 11.5)}), 0.0);  // high at the previous high
}

TEST(DemarkSignal, AnInvalidCandleIsSkipped) {
    const FeedSnapshot invalid = bar(10, 12, 9, 12.5);  // close above the high
    auto prop = make("TdPropulsion", {});
    EXPECT_EQ(feed(*prop, {bar(10, 12, 9, 11), invalid, bar(11, 13, 11, 12.5)}), (Values{N, N, 1.0}));
    auto trap = make("TdTrap", {});
    EXPECT_EQ(feed(*trap, {bar(10, 12, 8, 10), invalid, bar(10, 11, 9, 10), invalid, bar(10.5, 11.5, 10, 11.25)}),
              (Values{N, N, N, N, 1.0}));
}
