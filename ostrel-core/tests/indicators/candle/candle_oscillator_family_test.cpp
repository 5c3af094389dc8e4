// Listed edge cases of the candle oscillators: the CCI
// family, range-position oscillators, the awesome oscillator family, candle-body
// oscillators and the multi-window and volume oscillators.
#include <cmath>

#include "support/candle_family_support.hpp"

using namespace candlefam;

namespace {

TEST(CciFamily, ZeroDeviationAndFlatWindows) {
    auto cci = make("Cci", {3});
    auto v = feed(*cci, {flat(5), flat(5), flat(5)});
    EXPECT_FALSE(v[1]);
    EXPECT_EQ(v[2], 0.0);

    auto st = make("StochasticCci", {3});
    EXPECT_EQ(st->warmup_period(), 5u);
    v = feed(*st, {flat(5), flat(5), flat(5), flat(5), flat(5)});
    EXPECT_FALSE(v[3]);
    EXPECT_EQ(v[4], 50.0);  // first value on update 2 * period - 1

    auto one = make("StochasticCci", {1});
    EXPECT_EQ(one->update(bar(1, 3, 0.5, 2)), 50.0);
    auto cci1 = make("Cci", {1});
    EXPECT_EQ(cci1->update(bar(1, 3, 0.5, 2)), 0.0);

    auto ad = make("AdaptiveCci", {3});
    v = feed(*ad, {flat(7), flat(7), flat(7), flat(7)});
    EXPECT_EQ(v[2], 0.0);
    EXPECT_EQ(v[3], 0.0);
}

TEST(CciFamily, AdaptiveCentreStartsAtThePlainMean) {
    // Typical prices 1, 3 (flat candles): centre 2, mean deviation 1.
    auto ad = make("AdaptiveCci", {2});
    auto v = feed(*ad, {flat(1), flat(3), flat(6)});
    EXPECT_FALSE(v[0]);
    EXPECT_EQ(v[1], 1.0 / 0.015);
    // Window 3, 6: efficiency 1, so sc = (2/3 - 2/31 + 2/31)^2 and the centre moves
    // from 2 towards 6 by sc * 4.
    double s = 1.0 * 0.6021505376344085 + 0.06451612903225806;
    double centre = 2.0 + (s * s) * 4.0;
    double md = (std::fabs(3.0 - centre) + std::fabs(6.0 - centre)) / 2.0;
    EXPECT_EQ(v[2], (6.0 - centre) / (md * 0.015));
}

TEST(RangePosition, WilliamsRExtremes) {
    auto w = make("WilliamsR", {2});
    auto v = feed(*w, {flat(4), flat(4), bar(4, 6, 2, 6), bar(5, 6, 2, 2)});
    EXPECT_EQ(v[1], -50.0);
    ASSERT_TRUE(v[2]);
    EXPECT_EQ(*v[2], 0.0);
    EXPECT_TRUE(std::signbit(*v[2]));  // a close at the highest high gives -0.0
    EXPECT_EQ(v[3], -100.0);
}

TEST(RangePosition, KaseOnAFlatWindowAndItsOutputs) {
    auto k = make("KasePermissionStochastic", {3, 2});
    EXPECT_EQ(k->warmup_period(), 5u);
    EXPECT_TRUE(k->outputs().empty());
    auto v = feed(*k, std::vector<FeedSnapshot>(5, flat(9)));
    EXPECT_FALSE(v[3]);
    EXPECT_EQ(v[4], 50.0);
    auto outs = k->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "fast");
    EXPECT_EQ(outs[1].name, "slow");
    EXPECT_EQ(outs[0].value, 50.0);
    EXPECT_EQ(outs[1].value, 50.0);
}

TEST(RangePosition, SmiHoldsWhileTheSmoothedRangeIsZero) {
    auto s = make("Smi", {2, 1, 1});
    // Flat from the start: never a value.
    auto v = feed(*s, {flat(5), flat(5), flat(5), flat(5)});
    for (auto& x : v) EXPECT_FALSE(x);
    // A range, then flat again: with smoothing 1 the range is 0 at once and the last
    // value stands.
    auto s2 = make("Smi", {2, 1, 1});
    v = feed(*s2, {flat(4), bar(5, 6, 4, 6), flat(6), flat(6)});
    // Window highs 4, 6 and lows 4, 4: rel = 6 - 5 = 1, range 2, value 1 * 100 / 1.
    EXPECT_EQ(v[1], 100.0);
    EXPECT_EQ(v[2], 100.0);  // window 6..6 / 4..6 still has a range: rel 1, range 2
    EXPECT_EQ(v[3], 100.0);  // flat window: the previous value stands
}

TEST(RangePosition, ProjectionOscillatorOnAFlatSeries) {
    auto p = make("ProjectionOscillator", {3});
    auto v = feed(*p, {flat(8), flat(8), flat(8)});
    EXPECT_FALSE(v[1]);
    EXPECT_EQ(v[2], 50.0);
}

TEST(AwesomeFamily, WarmupsAndFirstValues) {
    auto ao = make("AwesomeOscillator", {5, 34});
    std::vector<FeedSnapshot> rising;
    for (int i = 0; i < 40; ++i) rising.push_back(bar(i, i + 1.0, i - 1.0, i));
    auto v = feed(*ao, rising);
    EXPECT_FALSE(v[32]);
    ASSERT_TRUE(v[33]);
    EXPECT_EQ(*v[33], 14.5);  // mean of 29..33 minus mean of 0..33 (medians = i)

    auto ac = make("AcceleratorOscillator", {2, 3, 2});
    EXPECT_EQ(ac->warmup_period(), 4u);
    v = feed(*ac, {flat(1), flat(2), flat(4), flat(8)});
    EXPECT_FALSE(v[2]);
    // AO values 3 - 7/3 and 6 - 14/3; the signal sees only those two.
    double ao3 = 3.0 - 7.0 / 3.0, ao4 = 6.0 - 14.0 / 3.0;
    EXPECT_EQ(v[3], ao4 - (ao4 + ao3) / 2.0);

    auto h = make("AwesomeOscillatorHistogram", {2, 3, 1});
    EXPECT_EQ(h->warmup_period(), 4u);
    v = feed(*h, {flat(1), flat(2), flat(4), flat(8)});
    EXPECT_FALSE(v[2]);
    EXPECT_EQ(v[3], ao4 - ao3);
}

TEST(AwesomeFamily, GatorSignsAndHugePrices) {
    auto g = make("GatorOscillator", {3, 2, 1});
    auto v = feed(*g, {flat(3), flat(3), flat(3)});
    EXPECT_FALSE(v[1]);
    ASSERT_TRUE(v[2]);
    auto outs = g->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "upper");
    EXPECT_EQ(outs[1].name, "lower");
    EXPECT_EQ(outs[0].value, 0.0);
    EXPECT_TRUE(std::signbit(outs[1].value));  // teeth equal to lips gives -0.0

    // Highs and lows above half the largest double: the medians are taken from halves
    // and stay finite (+-1.35e308, which cancel in the slow average).
    auto ao = make("AwesomeOscillator", {1, 2});
    auto r = feed(*ao, {bar(1.5e308, 1.7e308, 1.0e308, 1.5e308), bar(-1.5e308, -1.0e308, -1.7e308, -1.5e308)});
    ASSERT_TRUE(r[1]);
    EXPECT_EQ(*r[1], -(1.7e308 * 0.5 + 1.0e308 * 0.5));
}

TEST(CandleBody, EdgeCases) {
    auto imi = make("IntradayMomentumIndex", {3});
    auto v = feed(*imi, {bar(5, 6, 4, 5), bar(5, 6, 4, 5), bar(5, 6, 4, 5)});
    EXPECT_EQ(v[2], 50.0);

    auto q = make("Qstick", {4});
    v = feed(*q, {bar(1, 2, 1, 2), bar(2, 2, 1, 1), bar(1, 2, 1, 2), bar(2, 2, 1, 1)});
    EXPECT_EQ(v[3], 0.0);

    auto rvi = make("Rvi", {2});
    EXPECT_EQ(rvi->warmup_period(), 5u);
    v = feed(*rvi, std::vector<FeedSnapshot>(7, flat(3)));
    for (auto& x : v) EXPECT_FALSE(x);  // no range ever: no value
    auto rvi2 = make("Rvi", {1});
    v = feed(*rvi2, {bar(1, 2, 0, 2), bar(1, 2, 0, 2), bar(1, 2, 0, 2), bar(1, 2, 0, 2), flat(1), flat(1), flat(1),
                     flat(1), flat(1)});
    EXPECT_EQ(v[3], 0.5);  // bodies 1, ranges 2 with weights 1-2-2-1
    // Weighted ranges of the last four bars: 2/6 ... then 0 once all four are flat.
    EXPECT_EQ(v[8], v[7]);
    EXPECT_EQ(v[7], v[6]);

    auto pgo = make("Pgo", {2});
    v = feed(*pgo, {flat(4), flat(4), flat(4)});
    for (auto& x : v) EXPECT_FALSE(x);  // zero true range: no value before the first
    auto pgo2 = make("Pgo", {2});
    v = feed(*pgo2, {bar(4, 5, 3, 4), bar(4, 6, 4, 6), flat(6)});
    // True ranges 2 and 2: average 2; close 6 against the mean 5.
    EXPECT_EQ(v[1], 0.5);

    auto ha = make("HeikinAshiOscillator", {1});
    // First Heikin-Ashi open = midpoint(open, close) = 3; close = (2 + 5 + 1 + 4) / 4.
    EXPECT_EQ(ha->update(bar(2, 5, 1, 4)), 0.0);
    EXPECT_FALSE(ha->update(bar(2, 1, 5, 4)));  // refused: the chain does not move
    // Next open = midpoint(3, 3); close = (3 + 7 + 3 + 7) / 4 = 5.
    EXPECT_EQ(ha->update(bar(3, 7, 3, 7)), 2.0);

    auto er = make("ElderRay", {1});
    EXPECT_EQ(er->update(bar(5, 8, 3, 6)), 2.0);
    auto outs = er->outputs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "bull_power");
    EXPECT_EQ(outs[1].name, "bear_power");
    EXPECT_EQ(outs[1].value, -3.0);
}

TEST(MultiWindow, UltimateOscillatorFallbacksAndWeights) {
    auto uo = make("UltimateOscillator", {1, 2, 3});
    auto v = feed(*uo, std::vector<FeedSnapshot>(5, flat(5)));
    EXPECT_FALSE(v[2]);
    EXPECT_EQ(v[3], 50.0);
    // The weight 4 goes to the first parameter whichever is longest.
    std::vector<FeedSnapshot> bars = {flat(10), bar(10, 12, 10, 12), bar(12, 12, 9, 9), bar(9, 11, 9, 11)};
    auto a = feed(*make("UltimateOscillator", {1, 2, 3}), bars);
    auto b = feed(*make("UltimateOscillator", {3, 2, 1}), bars);
    // Pairs (bp, tr): (2, 2), (0, 3), (2, 2).
    EXPECT_EQ(a[3], (((2.0 / 2.0) * 4 + (2.0 / 5.0) * 2) + 4.0 / 7.0) * 100 / 7);
    EXPECT_EQ(b[3], (((4.0 / 7.0) * 4 + (2.0 / 5.0) * 2) + 2.0 / 2.0) * 100 / 7);
}

TEST(MultiWindow, DemandIndexAndVolumeRsi) {
    auto di = make("DemandIndex", {2});
    auto v = feed(*di, {bar(5, 6, 4, 5, 0), bar(5, 7, 4, 6, 0), bar(6, 8, 5, 7, 0)});
    EXPECT_FALSE(v[1]);
    EXPECT_EQ(v[2], 0.0);  // no volume in the window: the last value, 0 before any
    // Flat prices: change 0, so buying = q and selling = vr, and exp(0) = 1 makes them
    // equal: 0.
    auto di2 = make("DemandIndex", {1});
    v = feed(*di2, {bar(5, 6, 4, 5, 10), bar(5, 6, 4, 5, 10)});
    EXPECT_EQ(v[1], 0.0);

    auto vr = make("VolumeRsi", {3});
    v = feed(*vr, std::vector<FeedSnapshot>(6, bar(1, 2, 1, 2, 50)));
    EXPECT_FALSE(v[2]);
    EXPECT_EQ(v[3], 50.0);
    EXPECT_EQ(v[5], 50.0);
}

}  // namespace
