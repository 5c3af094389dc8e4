// The swing-pivot tracker and ZigZag: the reversal rule, its ties, the bounded
// pivot list, and candles that fail the checks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"
#include "indicators/core/swing_tracker.hpp"
#include "support/levels_support.hpp"

using namespace ostrel;

namespace {

using levels_support::make;
using levels_support::span;
auto& build = build_support::build_error;

FeedSnapshot broken() {
    FeedSnapshot f;
    f.candle = Candle{0, 100.0, 90.0, 110.0, 100.0, 1.0};  // high below low
    return f;
}

}  // namespace

TEST(SwingTracker, FirstBarAndRisingHighsConfirmNothing) {
    core::SwingTracker t(0.05, 5);
    EXPECT_FALSE(t.step(100, 99));
    for (int i = 1; i < 200; ++i) EXPECT_FALSE(t.step(100 + i, 90 + i));  // lows rise with the highs
    EXPECT_EQ(t.size(), 0u);
    EXPECT_EQ(t.bar_count(), 200u);
}

TEST(SwingTracker, ReversalOfExactlyTheThreshold) {
    core::SwingTracker a(0.05, 5);
    a.step(100, 99);
    EXPECT_FALSE(a.step(99, 95.01));  // 100 x 0.95 = 95 not reached
    EXPECT_TRUE(a.step(99, 95));      // reached exactly
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a.newest().price, 100.0);
    EXPECT_EQ(a.newest().direction, 1.0);
    EXPECT_EQ(a.newest().index, 0u);

    // Down-swing from 100: a high of 105 confirms the swing low.
    core::SwingTracker b(0.05, 5);
    b.step(120, 119);
    b.step(101, 100);  // 100 <= 114: high 120 confirmed, down-swing at 100
    EXPECT_FALSE(b.step(104.99, 101));
    EXPECT_TRUE(b.step(105, 101));
    EXPECT_EQ(b.newest().price, 100.0);
    EXPECT_EQ(b.newest().direction, -1.0);
    EXPECT_EQ(b.newest().index, 1u);
}

TEST(SwingTracker, TiesKeepTheEarlierExtremeAndExtendingComesFirst) {
    core::SwingTracker t(0.05, 5);
    t.step(100, 99);
    t.step(100, 98);  // equal high: the extreme stays at bar 0
    // A new high and a deep low on one bar: the extreme moves, nothing confirmed.
    t.step(101, 100);
    EXPECT_FALSE(t.step(102, 50));
    EXPECT_EQ(t.size(), 0u);
    EXPECT_TRUE(t.step(97, 96));  // below 102 x 0.95
    EXPECT_EQ(t.newest().index, 3u);

    core::SwingTracker u(0.05, 5);
    u.step(100, 99);
    u.step(100, 98);
    EXPECT_TRUE(u.step(99, 90));
    EXPECT_EQ(u.newest().index, 0u);  // not bar 1
    u.step(92, 90);                   // equal low: the extreme stays at bar 2
    EXPECT_TRUE(u.step(94.5, 94.5));
    EXPECT_EQ(u.newest().price, 90.0);
    EXPECT_EQ(u.newest().index, 2u);
}

TEST(SwingTracker, BoundedListSlidesAndPivotsAlternate) {
    core::SwingTracker t(0.05, 3);
    const double path[] = {100, 80, 100, 80, 100, 80};
    for (double p : path) t.step(p, p);
    // Confirmed so far: 100@0, 80@1, 100@2, 80@3 (the last 100 is confirmed by the final 80).
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t.pivot(0).index, 2u);
    EXPECT_EQ(t.pivot(1).index, 3u);
    EXPECT_EQ(t.pivot(2).index, 4u);
    EXPECT_EQ(t.pivot(0).direction, 1.0);
    EXPECT_EQ(t.pivot(1).direction, -1.0);
    EXPECT_EQ(t.pivot(2).direction, 1.0);
    EXPECT_EQ(t.newest(2).index, 2u);
}

TEST(ZigZag, Construction) {
    const std::string text =
        "invalid parameters for indicator ZigZag: invalid period: ZigZag threshold must be a finite fraction in (0, 1)";
    EXPECT_EQ(build("ZigZag", {0.05}), "built");
    EXPECT_EQ(build("ZigZag", {0.999}), "built");
    for (double bad : {0.0, -0.0, -0.1, 1.0, 2.0}) EXPECT_EQ(build("ZigZag", {bad}), text) << bad;
    EXPECT_EQ(build("ZigZag", {std::numeric_limits<double>::quiet_NaN()}),
              "invalid parameters for indicator ZigZag: parameter #0 must be finite");
    EXPECT_EQ(build("ZigZag", {}), "invalid parameters for indicator ZigZag: missing parameter #0");
}

TEST(ZigZag, ValuesOnlyOnConfirmingBars) {
    auto z = make("ZigZag", {0.1});
    ASSERT_TRUE(z);
    EXPECT_EQ(z->warmup_period(), 2u);
    EXPECT_FALSE(z->update(span(100, 99)));
    EXPECT_TRUE(z->outputs().empty());
    EXPECT_FALSE(z->update(span(110, 105)));
    EXPECT_FALSE(z->update(span(100, 99.1)));  // 110 x 0.9 = 99 not reached
    auto v = z->update(span(100, 99));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 110.0);
    ASSERT_EQ(z->outputs().size(), 2u);
    EXPECT_EQ(z->outputs()[0].name, "swing");
    EXPECT_EQ(z->outputs()[0].value, 110.0);
    EXPECT_EQ(z->outputs()[1].name, "direction");
    EXPECT_EQ(z->outputs()[1].value, 1.0);
    EXPECT_FALSE(z->update(span(95, 90)));    // the down-swing extends to 90
    EXPECT_FALSE(z->update(broken()));        // ignored
    EXPECT_EQ(z->outputs()[0].value, 110.0);  // the last pivot is kept
    v = z->update(span(99.5, 95));            // above 90 x 1.1
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 90.0);
    EXPECT_EQ(z->outputs()[1].value, -1.0);
}

TEST(ZigZag, SameRuleAsTheTracker) {
    // Over an irregular path ZigZag gives exactly the tracker's pivots, on the bars
    // that confirm them.
    auto z = make("ZigZag", {0.05});
    ASSERT_TRUE(z);
    core::SwingTracker t(0.05, 1000);
    double x = 100.0;
    for (int i = 0; i < 400; ++i) {
        x *= 1.0 + 0.03 * std::sin(i * 0.7) + 0.01 * std::cos(i * 2.3);
        const double h = x * 1.01, l = x * 0.99;
        const bool fired = t.step(h, l);
        auto v = z->update(span(h, l));
        ASSERT_EQ(fired, v.has_value()) << i;
        if (fired) {
            EXPECT_EQ(*v, t.newest().price);
            EXPECT_EQ(z->outputs()[1].value, t.newest().direction);
        }
    }
    EXPECT_GT(t.size(), 10u);
}

TEST(SwingKinds, FailingCandleDoesNotCountAsABar) {
    // The pivot ordinals count valid candles only: FibTimeZones measures bars since
    // the newest pivot, which a broken candle must not advance.
    auto a = make("FibTimeZones", {});
    auto b = make("FibTimeZones", {});
    ASSERT_TRUE(a && b);
    const std::vector<std::pair<double, double>> path = {{100, 100}, {90, 90}, {91, 91}, {92, 92}, {93, 93}};
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto va = a->update(span(path[i].first, path[i].second));
        if (i == 2) EXPECT_FALSE(b->update(broken()));
        auto vb = b->update(span(path[i].first, path[i].second));
        ASSERT_EQ(va.has_value(), vb.has_value());
        if (va) EXPECT_EQ(a->outputs()[1].value, b->outputs()[1].value) << i;
    }
    // Pivot 100@0 confirmed on bar 1; the last bar is 4 bars after it: no zone,
    // one bar to the zone at 5 (the broken candle would have made it 5: a zone).
    EXPECT_EQ(b->outputs()[0].value, 0.0);
    EXPECT_EQ(b->outputs()[1].value, 1.0);
}
