// Listed edge cases of the trailing stops and exits (close,
// ATR, channel, deviation and safe-zone) and of the volume-weighted averages.
#include <cmath>

#include "support/candle_family_support.hpp"

using namespace candlefam;

namespace {

TEST(CloseStops, PercentageStepAndRenko) {
    auto pct = make("PercentageTrailingStop", {10});
    auto v = feed(*pct, {flat(100), flat(110), flat(105), flat(98)});
    EXPECT_EQ(v[0], 90.0);
    EXPECT_EQ(v[1], 99.0);
    EXPECT_EQ(v[2], 99.0);
    EXPECT_EQ(v[3], 98.0 + 9.8);  // flipped short

    auto zero = make("PercentageTrailingStop", {10});
    EXPECT_EQ(zero->update(flat(0)), 0.0);
    auto neg = make("PercentageTrailingStop", {10});
    EXPECT_EQ(neg->update(flat(-50)), -55.0);  // the distance uses |close|

    auto step = make("StepTrailingStop", {1});
    v = feed(*step, {flat(10.5), flat(8.7)});
    EXPECT_EQ(v[0], 9.0);
    EXPECT_EQ(v[1], 10.0);

    auto renko = make("RenkoTrailingStop", {2});
    v = feed(*renko, {flat(100), flat(103), flat(104.5), flat(101)});
    EXPECT_EQ(v[0], 98.0);
    EXPECT_EQ(v[1], 100.0);
    EXPECT_EQ(v[2], 102.0);
    EXPECT_EQ(v[3], 103.0);
}

TEST(CloseStops, ReadTheCloseAloneAndRefuseNonFiniteCloses) {
    for (const char* k : {"PercentageTrailingStop", "StepTrailingStop", "RenkoTrailingStop"}) {
        auto ind = make(k, {1});
        auto first = ind->update(flat(100));
        EXPECT_FALSE(ind->update(flat(NAN))) << k;
        EXPECT_FALSE(ind->update(flat(INFINITY))) << k;
        // A candle with high below low still moves the stop.
        auto moved = ind->update(bar(120, 110, 130, 120));
        ASSERT_TRUE(moved) << k;
        EXPECT_GT(*moved, *first) << k;
    }
    auto t = make("TimeBasedStop", {4});
    auto v = feed(*t, {flat(1), bar(1, 0, 2, 1), flat(1), flat(1), flat(1), flat(1)});
    EXPECT_EQ(v[0], 0.25);
    EXPECT_FALSE(v[1]);  // refused, not counted
    EXPECT_EQ(v[2], 0.5);
    EXPECT_EQ(v[3], 0.75);
    EXPECT_EQ(v[4], 1.0);
    EXPECT_EQ(v[5], 1.0);
}

TEST(AtrStops, PeriodOneUsesTheTrueRangeAtOnce) {
    for (const char* k : {"AtrTrailingStop", "VoltyStop", "YoyoExit", "AtrRatchet"}) {
        auto ind = make(k, {1, 2, 1});
        EXPECT_EQ(ind->update(bar(10, 12, 9, 11)), 11.0 - 3.0 * 2) << k;
    }
}

TEST(AtrStops, TrailingStopSides) {
    // Period 1, multiplier 1: the offset is each bar's true range.
    auto s = make("AtrTrailingStop", {1, 1});
    // Stop 100 - 4 = 96; close 96 equals it: the short side without ratchet, 96 + 5
    // (true range against the previous close 100).
    auto v = feed(*s, {bar(100, 102, 98, 100), bar(97, 97, 95, 96)});
    EXPECT_EQ(v[0], 96.0);
    EXPECT_EQ(v[1], 101.0);
    // Two closes below the stop: it ratchets down, min(101, 99 + 3).
    EXPECT_EQ(s->update(bar(96, 99, 96, 99)), 101.0);
    // Close 105 above a stop set from the short side: c - offset, no maximum.
    EXPECT_EQ(s->update(bar(99, 105, 99, 105)), 105.0 - 6.0);
}

TEST(AtrStops, RatchetOnFlatAndSteadyBars) {
    auto r = make("AtrRatchet", {2, 2, 0.5});
    auto v = feed(*r, std::vector<FeedSnapshot>(5, flat(50)));
    EXPECT_EQ(v[4], 50.0);
    auto outs = r->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "value");
    EXPECT_EQ(outs[1].name, "direction");
    EXPECT_EQ(outs[1].value, 1.0);
    // True range 2 every bar, close unchanged at 50: 46, 47, ..., climbing by 2 * 0.5.
    auto r2 = make("AtrRatchet", {1, 2, 0.5});
    v = feed(*r2, std::vector<FeedSnapshot>(7, bar(50, 51, 49, 50)));
    EXPECT_EQ(v[0], 46.0);
    EXPECT_EQ(v[4], 50.0);  // equal to the close: no flip
    EXPECT_EQ(v[5], 54.0);  // 51 > 50: short at 50 + 4
    EXPECT_EQ(v[6], 53.0);
    EXPECT_EQ(r2->outputs()[1].value, -1.0);
}

TEST(AtrStops, VoltyAndYoyo) {
    // Offset 5 throughout (period 1, true range 5 each bar).
    auto volty = make("VoltyStop", {1, 1});
    auto v = feed(*volty, {bar(100, 102.5, 97.5, 100), bar(100, 105, 100, 105), bar(105, 106, 101, 103),
                           bar(103, 103, 98, 99)});
    EXPECT_EQ(v[0], 95.0);
    EXPECT_EQ(v[1], 100.0);
    EXPECT_EQ(v[2], 100.0);
    EXPECT_EQ(v[3], 104.0);

    auto yoyo = make("YoyoExit", {1, 1});
    v = feed(*yoyo, {bar(100, 102.5, 97.5, 100), bar(100, 100, 90, 90), bar(90, 98, 90, 98), bar(98, 104, 98, 104)});
    EXPECT_EQ(v[0], 95.0);
    EXPECT_EQ(v[1], 95.0);   // exit: the level stays
    EXPECT_EQ(v[2], 95.0);   // 98 is not above 95 + 8
    EXPECT_EQ(v[3], 98.0);   // 104 > 95 + 6: re-armed at 104 - 6
}

TEST(AtrStops, RefusedCandleKeepsThePreviousClose) {
    auto a = make("AtrTrailingStop", {2, 1});
    auto b = make("AtrTrailingStop", {2, 1});
    std::vector<FeedSnapshot> bars = {bar(10, 12, 9, 11), bar(11, 13, 10, 12), bar(12, 15, 11, 14)};
    auto clean = feed(*a, bars);
    bars.insert(bars.begin() + 1, bar(30, 20, 40, 30));  // high below low
    auto with_bad = feed(*b, bars);
    EXPECT_FALSE(with_bad[1]);
    EXPECT_EQ(clean[1], with_bad[2]);
    EXPECT_EQ(clean[2], with_bad[3]);
}

TEST(ChannelStops, WarmupsAndValues) {
    auto d = make("DonchianStop", {1});
    EXPECT_EQ(d->update(bar(5, 7, 3, 6)), 3.0);
    ASSERT_EQ(d->outputs().size(), 2u);
    EXPECT_EQ(d->outputs()[0].name, "stop_long");
    EXPECT_EQ(d->outputs()[1].name, "stop_short");
    EXPECT_EQ(d->outputs()[1].value, 7.0);

    auto ch = make("ChandelierExit", {3, 1});
    auto v = feed(*ch, {bar(9, 10, 8, 9), bar(10, 11, 9, 10), bar(11, 12, 9, 11)});
    EXPECT_FALSE(v[0]);
    EXPECT_FALSE(v[1]);
    EXPECT_EQ(v[2], 12.0 - 7.0 / 3.0);  // true ranges 2, 2, 3
    ASSERT_EQ(ch->outputs().size(), 2u);
    EXPECT_EQ(ch->outputs()[0].name, "long_stop");
    EXPECT_EQ(ch->outputs()[1].name, "short_stop");
    EXPECT_EQ(ch->outputs()[1].value, 8.0 + 7.0 / 3.0);

    auto ck1 = make("ChandeKrollStop", {1, 1, 1});
    EXPECT_EQ(ck1->update(bar(9, 10, 8, 9)), 8.0 + 2.0);
    EXPECT_EQ(ck1->outputs()[1].value, 10.0 - 2.0);
    auto ck = make("ChandeKrollStop", {2, 1, 3});
    EXPECT_EQ(ck->warmup_period(), 4u);
    v = feed(*ck, {bar(9, 10, 8, 9), bar(10, 11, 9, 10), bar(11, 12, 9, 11), bar(11, 13, 10, 12)});
    EXPECT_FALSE(v[2]);
    ASSERT_TRUE(v[3]);
    // ATR 2, then fma(2, 1, 3) / 2 = 2.5, then fma(2.5, 1, 3) / 2 = 2.75; first stops
    // (HH - ATR, LL + ATR): (9, 10), (9.5, 11.5), (10.25, 11.75).
    EXPECT_EQ(v[3], 10.0);
    EXPECT_EQ(ck->outputs()[1].value, 10.25);
}

TEST(DeviationStops, KaseFirstValueAndSampleDeviation) {
    auto k = make("KaseDevStop", {2, 1});
    auto v = feed(*k, {bar(9, 10, 8, 9), bar(10, 11, 9, 10), bar(11, 12, 9, 11)});
    EXPECT_FALSE(v[1]);
    EXPECT_EQ(v[2], 12.0 - 3.0);  // identical two-bar ranges 3, 3: offset = 3
    auto k2 = make("KaseDevStop", {2, 1});
    v = feed(*k2, {bar(9, 10, 8, 9), bar(10, 11, 9, 10), bar(11, 13, 9, 12)});
    // Ranges 3 and 4: mean 3.5, sample variance 0.5.
    EXPECT_EQ(v[2], 13.0 - (3.5 + std::sqrt(0.5)));
    auto outs = k2->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "value");
    EXPECT_EQ(outs[1].name, "direction");
    EXPECT_EQ(outs[1].value, 1.0);
}

TEST(DeviationStops, SafeZoneOnARisingMarket) {
    auto z = make("ElderSafeZone", {1, 2});
    EXPECT_EQ(z->warmup_period(), 2u);
    // Every low above the previous low: no downside penetration, so the long stop is
    // the highest low seen since the first value.
    auto v = feed(*z, {bar(10, 11, 9, 10), bar(10, 12, 9.5, 11), bar(11, 13, 10.5, 12), bar(12, 13, 10.2, 12.5)});
    EXPECT_FALSE(v[0]);
    EXPECT_EQ(v[1], 9.5);
    EXPECT_EQ(v[2], 10.5);
    // Penetration 0.3 of the previous low: 10.2 - 0.6 is below 10.5, which stands.
    EXPECT_EQ(v[3], 10.5);
}

TEST(VolumeWeighted, VwmaCases) {
    auto zero = make("Vwma", {3});
    auto v = feed(*zero, {flat(1, 0), flat(2, 0), flat(6, 0)});
    EXPECT_EQ(v[2], 3.0);
    auto one = make("Vwma", {1});
    EXPECT_EQ(one->update(flat(7, 0)), 7.0);
    EXPECT_EQ(one->update(flat(7, 3)), 7.0);
    auto two = make("Vwma", {2});
    v = feed(*two, {flat(10, 1), flat(20, 3)});
    EXPECT_EQ(v[1], 17.5);
    EXPECT_FALSE(two->update(flat(20, -1)));   // negative volume: refused
    EXPECT_FALSE(two->update(flat(20, NAN)));  // non-finite volume: refused
    EXPECT_EQ(two->update(flat(30, 1)), (20.0 * 3 + 30.0) / 4.0);
}

TEST(VolumeWeighted, EvwmaCases) {
    auto e = make("Evwma", {2});
    auto v = feed(*e, {flat(10, 1), flat(20, 3), flat(30, 4)});
    EXPECT_EQ(v[1], 20.0);  // no previous value: the close itself
    EXPECT_EQ(v[2], (30.0 * 4 + (7.0 - 4.0) * 20.0) / 7.0);
    auto z = make("Evwma", {2});
    v = feed(*z, {flat(10, 0), flat(20, 0), flat(30, 0), flat(40, 0)});
    EXPECT_EQ(v[1], 20.0);
    EXPECT_EQ(v[3], 20.0);
}

}  // namespace
