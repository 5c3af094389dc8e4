// Hand-worked cases of the candle-series kinds: small candle sequences whose values
// are worked out on paper, the boundary cases of each kind, and the rule that a
// candle failing the checks leaves a kind exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/core/adx.hpp"
#include "indicators/core/safe_zone_window.hpp"
#include "indicators/core/volume_weighted_window.hpp"

using namespace ostrel;

namespace {

struct Hlc {
    double h, l, c, v = 0.0;
};

Candle candle(const Hlc& b) {
    Candle c;
    c.high = b.h;
    c.low = b.l;
    c.close = b.c;
    c.open = b.c;
    c.volume = b.v;
    return c;
}

class Probe {
public:
    Probe(std::string_view kind, std::vector<double> params) {
        auto r = build_indicator(kind, params);
        EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
        if (r) ind_ = std::move(*r);
    }
    std::optional<double> operator()(const Hlc& b) { return push(candle(b)); }
    std::optional<double> push(const Candle& c) {
        FeedSnapshot s;
        s.candle = c;
        return ind_->update(s);
    }
    std::optional<double> close(double c) { return (*this)({c, c, c}); }
    double out(std::string_view name) const {
        for (const NamedOutput& o : ind_->outputs())
            if (o.name == name) return o.value;
        ADD_FAILURE() << "no output " << name;
        return std::nan("");
    }
    std::size_t output_count() const { return ind_->outputs().size(); }

private:
    std::unique_ptr<Indicator> ind_;
};

Candle bad_candle() {  // high below low
    Candle c;
    c.open = c.close = 10;
    c.high = 9;
    c.low = 11;
    return c;
}

}  // namespace

TEST(CandleEdge, AverageTrueRange) {
    Probe atr("Atr", {3});
    EXPECT_FALSE(atr({10, 8, 9}));
    EXPECT_FALSE(atr({11, 9, 10}));
    EXPECT_EQ(*atr({12, 9, 11}), 7.0 / 3.0);  // true ranges 2, 2, 3

    // A rejected candle between two good ones is invisible: the next true range
    // is taken against the last accepted close.
    Probe a("Atr", {1}), b("Atr", {1});
    a({10, 8, 9});
    b({10, 8, 9});
    EXPECT_FALSE(a.push(bad_candle()));
    Candle nan_volume = candle({10, 9, 9.5});
    nan_volume.volume = NAN;
    EXPECT_FALSE(a.push(nan_volume));
    EXPECT_EQ(*a({20, 19, 19.5}), *b({20, 19, 19.5}));
    EXPECT_EQ(*b({20, 19, 19.5}), 1.0);
    EXPECT_EQ(*a({20, 19, 19.5}), 1.0);

    Probe natr("Natr", {1});
    EXPECT_EQ(*natr({0, 0, 0}), 0.0);  // a zero close gives 0, not NaN
    EXPECT_EQ(*natr({4, 2, 2}), 100.0 * 4.0 / 2.0);
}

TEST(CandleEdge, DirectionalMovement) {
    // Flat candles: no range and no movement, so every indicator is 0, not NaN.
    Probe pdi("PlusDi", {2}), mdi("MinusDi", {2}), dx("Dx", {2}), adx("Adx", {2}), adxr("Adxr", {2});
    for (int i = 1; i <= 5; ++i) {
        Hlc flat{5, 5, 5};
        auto p = pdi(flat), m = mdi(flat), d = dx(flat), a = adx(flat), r = adxr(flat);
        EXPECT_EQ(p.has_value(), i >= 3);
        EXPECT_EQ(d.has_value(), i >= 3);
        EXPECT_EQ(a.has_value(), i >= 4);  // the first ADX on update 2 * period
        EXPECT_EQ(r.has_value(), i >= 5);  // and the first ADXR one update later
        if (p) EXPECT_EQ(*p, 0.0);
        if (m) EXPECT_EQ(*m, 0.0);
        if (d) EXPECT_EQ(*d, 0.0);
        if (a) EXPECT_EQ(adx.out("adx"), 0.0);
    }

    // Worked by hand, period 2. Moves: up 2 / down -1 (+DM 2), then up 1 / down 2
    // (-DM 2), then an outside bar with up == down == 1 (both 0).
    Probe pdm("PlusDm", {2}), mdm("MinusDm", {2}), adx2("Adx", {2});
    const Hlc bars[] = {{10, 8, 9}, {12, 9, 11}, {13, 7, 8}, {14, 6, 10}, {15, 7, 14}};
    std::optional<double> p[5], m[5], a[5];
    for (int i = 0; i < 4; ++i) p[i] = pdm(bars[i]), m[i] = mdm(bars[i]), a[i] = adx2(bars[i]);
    EXPECT_FALSE(p[1]);
    EXPECT_EQ(*p[2], 2.0);          // seed sum 2 + 0
    EXPECT_EQ(*m[2], 2.0);          // 0 + 2
    EXPECT_EQ(*p[3], 0.0 + (2 - 1));  // up == down: both 0, then S - S/2
    EXPECT_EQ(*m[3], 0.0 + (2 - 1));
    // TR: 3, 6, 8 (ranges 3, 6, 8; gaps smaller). Smoothed TR: 9, then 8 + 4.5.
    // +DI = 200/9, -DI = 200/9 at update 3, so DX = 0; update 4: both 100/12.5 = 8.
    EXPECT_FALSE(a[2]);
    ASSERT_TRUE(a[3]);
    EXPECT_EQ(*a[3], 8.0);
    EXPECT_EQ(adx2.out("plus_di"), 8.0);
    EXPECT_EQ(adx2.out("minus_di"), 8.0);
    EXPECT_EQ(adx2.out("adx"), 0.0);  // mean of DX 0 and 0
    // Update 5: +DM 1, TR 8; +DI = 200/19 = 10.53..., -DI = 66.67/19; DX 50, ADX 25.
    a[4] = adx2(bars[4]);
    ASSERT_TRUE(a[4]);
    EXPECT_EQ(*a[4], (2.0 * 100.0) / 19.0);  // the value is +DI, not ADX
    EXPECT_EQ(adx2.out("plus_di"), *a[4]);
    EXPECT_EQ(adx2.out("adx"), 25.0);

    // An inside bar moves neither way.
    auto core = *core::DirectionalMovement::make(1);
    core.step(candle({10, 5, 7}));
    auto inside = core.step(candle({9, 6, 7}));
    EXPECT_EQ(inside->plus_dm, 0.0);
    EXPECT_EQ(inside->minus_dm, 0.0);
    EXPECT_EQ(inside->tr, 3.0);
}

TEST(CandleEdge, AroonAndAlligator) {
    Probe up("Aroon", {2});
    EXPECT_FALSE(up({5, 4, 4.5}));
    EXPECT_FALSE(up({6, 3, 4.5}));
    EXPECT_EQ(*up({7, 4, 5}), 100.0);  // newest high is the highest
    EXPECT_EQ(up.out("down"), 50.0);   // lowest low one bar in
    EXPECT_EQ(*up({6.5, 3, 5}), 50.0);
    EXPECT_EQ(up.out("down"), 100.0);  // equal lows: the newest wins
    EXPECT_EQ(*up({6, 5, 5.5}), 0.0);  // oldest holds the highest high
    Probe tie("Aroon", {2});
    tie({7, 1, 2});
    tie({5, 2, 3});
    EXPECT_EQ(*tie({7, 2, 3}), 100.0);  // equal highs at both ends

    Probe osc("AroonOscillator", {2});
    osc({5, 4, 4.5});
    osc({6, 3, 4.5});
    EXPECT_EQ(*osc({7, 4, 5}), 50.0);

    Probe ones("Alligator", {1, 1, 1});
    EXPECT_EQ(*ones({11, 10, 10}), 10.5);
    EXPECT_EQ(ones.out("lips"), 10.5);
    EXPECT_EQ(*ones({20, 10, 10}), 15.0);

    Probe g("Alligator", {3, 2, 1});
    EXPECT_FALSE(g({4, 2, 3}));  // medians 3, 5, 7
    EXPECT_FALSE(g({6, 4, 5}));
    EXPECT_EQ(*g({8, 6, 7}), 5.0);        // jaw: mean of three
    EXPECT_EQ(g.out("teeth"), (7 + 4 * 1.0) / 2);  // teeth: seed 4, then (7 + 4) / 2
    EXPECT_EQ(g.out("lips"), 7.0);
    EXPECT_EQ(g.output_count(), 3u);
}

TEST(CandleEdge, ParabolicStartAndAcceleration) {
    // Second candle with up == down > 0: long (a tie is not short), SAR = PL1 = 9,
    // and its low 8 <= 9 reverses it to short at once with SAR = H.
    Probe tie("Psar", {0.02, 0.02, 0.2});
    EXPECT_FALSE(tie({10, 9, 9.5}));
    EXPECT_EQ(*tie({11, 8, 9}), 11.0);
    // Short by the rule (down 2 > up 0) but the high reaches PH1: reverses to long at L.
    Probe rev("Psar", {0.02, 0.02, 0.2});
    rev({10, 9, 9.5});
    EXPECT_EQ(*rev({10, 7, 8}), 7.0);

    // A clean up-trend: SAR from PL1 = 9, EP = 11, AF 0.1 (start) then +0.1 per new
    // high, capped at 0.25; an equal high changes nothing.
    Probe up("Psar", {0.1, 0.1, 0.25});
    up({10, 9, 9.5});
    EXPECT_EQ(*up({11, 10, 10.5}), 9.0);
    double sar = 9.0 + 0.1 * (11.0 - 9.0);  // EP 11 -> 12 after, AF 0.2
    EXPECT_EQ(*up({12, 11, 11.5}), sar);
    double sar2 = sar + 0.2 * (12.0 - sar);  // EP 12, high equal: no change, AF 0.2
    EXPECT_EQ(*up({12, 11.5, 11.8}), sar2);
    double sar3 = sar2 + 0.2 * (12.0 - sar2);  // new high 13: AF min(0.3, 0.25)
    EXPECT_EQ(*up({13, 12, 12.5}), sar3);
    double sar4 = sar3 + 0.25 * (13.0 - sar3);
    EXPECT_EQ(*up({14, 13, 13.5}), sar4);
    // A low at or below the stop reverses: SAR = max(EP, PH1, H) = 14.
    EXPECT_EQ(*up({13.9, 5, 6}), 14.0);

    Probe fwd("SarExt", {5, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2});
    EXPECT_FALSE(fwd({100, 99, 99.5}));
    EXPECT_EQ(*fwd({101, 100, 100.5}), 5.0);
    Probe back("SarExt", {-500, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2});
    back({100, 99, 99.5});
    EXPECT_EQ(*back({101, 100, 100.5}), -500.0);  // short at 500, shown negative
    // A reversal widens the stop by reverse_offset times its size.
    Probe wide("SarExt", {0, 0.5, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2});
    wide({10, 9, 9.5});
    EXPECT_EQ(*wide({11, 8, 9}), -(11.0 + 11.0 * 0.5));
}

TEST(CandleEdge, ChoppinessHiLoTtmMidPrice) {
    Probe chop("ChoppinessIndex", {2});
    EXPECT_FALSE(chop({5, 5, 5}));
    EXPECT_EQ(*chop({5, 5, 5}), 100.0);
    Probe chop2("ChoppinessIndex", {2});
    chop2({10, 8, 9});
    // TRs 2 and 3 (gap to 12 from 9), span 12 - 8 = 4: log10(5/4) * 100 / log10(2).
    EXPECT_EQ(*chop2({12, 10, 11}), (std::log10(5.0 / 4.0) * 100.0) / std::log10(2.0));

    Probe hilo("HiLoActivator", {1});
    EXPECT_FALSE(hilo({10, 8, 9}));
    EXPECT_EQ(*hilo({11, 9, 9}), 8.0);     // up trend from the start: previous low
    EXPECT_EQ(*hilo({11.5, 9, 10}), 9.0);  // close between the previous lines
    EXPECT_EQ(*hilo({10, 8, 8.5}), 11.5);  // close below the previous low 9: down
    EXPECT_EQ(*hilo({12, 10, 11}), 8.0);   // close above the previous high 10: up

    Probe ttm("TtmTrend", {2});
    EXPECT_FALSE(ttm({4, 2, 3}));
    EXPECT_EQ(*ttm({6, 4, 4}), -1.0);  // average of medians 3 and 5 is 4: equal is down
    EXPECT_EQ(*ttm({8, 4, 6}), 1.0);

    Probe mid("MidPrice", {1});
    EXPECT_EQ(*mid({13, 10, 11}), 11.5);
    Probe mid3("MidPrice", {3});
    mid3({13, 10, 11});
    EXPECT_FALSE(mid3({20, 12, 15}));
    EXPECT_EQ(*mid3({14, 11, 12}), 15.0);
    EXPECT_EQ(*mid3({14, 13, 13}), 15.5);  // the first candle has left: lowest low 11
}

TEST(CandleEdge, Bands) {
    Probe k35("Keltner", {3, 5, 1}), k53("Keltner", {5, 3, 1});
    for (int i = 1; i <= 5; ++i) {
        Hlc b{10.0 + i, 9.0 + i, 9.5 + i};
        EXPECT_EQ(k35(b).has_value(), i == 5);
        EXPECT_EQ(k53(b).has_value(), i == 5);
    }
    // A rejected candle neither advances the averages nor sets the previous close.
    Probe a("Keltner", {2, 2, 2}), b("Keltner", {2, 2, 2});
    a({10, 8, 9});
    b({10, 8, 9});
    EXPECT_FALSE(a.push(bad_candle()));
    EXPECT_EQ(a({12, 9, 11}), b({12, 9, 11}));
    // EMA seed (9 + 11) / 2 = 10, ATR seed (2 + 3) / 2 = 2.5, width 5.
    EXPECT_EQ(a.out("upper"), 15.0);
    EXPECT_EQ(a.out("middle"), 10.0);
    EXPECT_EQ(a.out("lower"), 5.0);

    Probe env("MaEnvelope", {2, 0.25});
    EXPECT_FALSE(env.close(90));
    EXPECT_FALSE(env.close(NAN));  // ignored, not counted
    EXPECT_EQ(*env.close(110), 125.0);
    EXPECT_EQ(env.out("middle"), 100.0);
    EXPECT_EQ(env.out("lower"), 75.0);

    Probe med("MedianChannel", {4, 2});
    for (double c : {3.0, 1.0, 4.0}) EXPECT_FALSE(med.close(c));
    EXPECT_EQ(*med.close(2), 2.5 + 2.0);  // median 2.5, deviations .5 .5 1.5 1.5, mad 1
    EXPECT_EQ(med.out("lower"), 0.5);
    EXPECT_EQ(*med.close(10), 3.0 + 1.5 * 2.0);  // 1 2 4 10: median 3, deviations 1 1 2 7

    Probe q5("QuartileBands", {5}), q4("QuartileBands", {4});
    for (double c : {5.0, 1.0, 4.0, 2.0}) EXPECT_FALSE(q5.close(c));
    EXPECT_EQ(*q5.close(3), 4.0);
    EXPECT_EQ(q5.out("middle"), 3.0);
    EXPECT_EQ(q5.out("lower"), 2.0);
    for (double c : {4.0, 2.0, 3.0}) q4.close(c);
    EXPECT_FALSE(q4.close(INFINITY));
    EXPECT_EQ(*q4.close(1), 3.25);
    EXPECT_EQ(q4.out("middle"), 2.5);
    EXPECT_EQ(q4.out("lower"), 1.75);

    // Leading candles without volume fix the anchor but give no value.
    Probe vw("VwapStdDevBands", {2});
    EXPECT_FALSE(vw({12, 9, 9, 0}));      // typical 10, the anchor
    EXPECT_EQ(*vw({13, 10, 10, 1}), 11.0);  // typical 11 alone: deviation 0
    EXPECT_EQ(vw.out("stddev"), 0.0);
    // Typical 14 with volume 3: mean 11 + (0 + 3*3 ... ) -> deviations 1 and 4 from 10.
    EXPECT_TRUE(vw({16, 13, 13, 3}));
    // mean_d = (1*1 + 3*4) / 4 = 3.25; variance = (1 + 48) / 4 - 3.25^2 = 1.6875.
    EXPECT_EQ(vw.out("middle"), 13.25);
    EXPECT_EQ(vw.out("stddev"), std::sqrt(1.6875));
    EXPECT_EQ(vw.out("upper"), 13.25 + std::sqrt(1.6875) * 2);
    EXPECT_EQ(vw.output_count(), 4u);
}

TEST(CandleEdge, MacdSeedsAndOutputs) {
    // A non-finite close is skipped without disturbing the seeds.
    Probe a("MacdIndicator", {2, 3, 2}), b("MacdIndicator", {2, 3, 2});
    const double closes[] = {10, 12, 11, 15, 14, 13};
    for (std::size_t i = 0; i < 6; ++i) {
        if (i == 2) EXPECT_FALSE(a.close(NAN));
        auto x = a.close(closes[i]), y = b.close(closes[i]);
        EXPECT_EQ(x, y);
        EXPECT_EQ(x.has_value(), i >= 3);  // slow + signal - 1 = 4 closes
        if (i < 3) EXPECT_EQ(a.output_count(), 0u);
    }
    EXPECT_EQ(a.output_count(), 3u);

    // Worked by hand with periods 1/2/1: fast = close, slow seeds at close 2.
    Probe m("MacdIndicator", {1, 2, 1});
    EXPECT_FALSE(m.close(10));
    EXPECT_EQ(*m.close(12), 12.0 - 11.0);
    EXPECT_EQ(m.out("signal"), 1.0);
    EXPECT_EQ(m.out("histogram"), 0.0);

    // Without volume the weighted averages are plain means of the closes.
    Probe vw("VolumeWeightedMacd", {1, 2, 1});
    EXPECT_FALSE(vw({10, 10, 10, 0}));
    EXPECT_EQ(*vw({12, 12, 12, 0}), 12.0 - 11.0);
    EXPECT_EQ(*vw({20, 20, 20, 0}), 20.0 - 16.0);
    EXPECT_EQ(*vw({20, 20, 20, 3}), 0.0);  // (20*0 + 20*3) / 3 on both sides
    EXPECT_FALSE(vw.push(bad_candle()));
}

TEST(CandleEdge, SharedWindows) {
    auto w = *core::VolumeWeightedWindow::make(2);
    EXPECT_FALSE(w.push(10, 1));
    EXPECT_EQ(*w.push(20, 3), 17.5);
    EXPECT_EQ(*w.push(30, 1), 22.5);  // (20*3 + 30) / 4
    auto one = *core::VolumeWeightedWindow::make(1);
    EXPECT_EQ(*one.push(7, 0), 7.0);

    auto z = *core::SafeZoneWindow::make(2);
    z.push(0.0);
    EXPECT_EQ(z.positive_count(), 0u);  // zero is not a penetration
    z.push(2.0);
    EXPECT_EQ(z.positive_count(), 1u);
    z.push(-1.0);  // removes the zero: the count stays
    EXPECT_EQ(z.positive_count(), 1u);
    EXPECT_EQ(z.sum(), 1.0);
    z.push(3.0);  // removes the 2
    EXPECT_EQ(z.positive_count(), 1u);
    EXPECT_EQ(z.sum(), 2.0);
}

TEST(CandleEdge, Oscillators) {
    Probe flat("Stochastic", {3, 2});
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(flat({5, 5, 5}));
    EXPECT_EQ(*flat({5, 5, 5}), 50.0);
    EXPECT_EQ(flat.out("d"), 50.0);

    Probe st("Stochastic", {2, 2});
    st({10, 8, 9});
    EXPECT_FALSE(st({12, 9, 11}));              // %K 75 stored, %D not yet
    EXPECT_EQ(*st({13, 10, 10}), (1.0 * 100) / 4);  // window 9..13
    EXPECT_EQ(st.out("d"), (75.0 + 25.0) / 2);
    EXPECT_FALSE(st.push(bad_candle()));
    EXPECT_EQ(*st({12, 11, 12}), (2.0 * 100) / 3);  // window 10..13

    // A zero close in a rate window gives a rate of 0 rather than a division by 0.
    Probe kst("Kst", {1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_FALSE(kst.close(0));
    EXPECT_EQ(*kst.close(5), 0.0);
    EXPECT_EQ(*kst.close(10), 100.0 * (1 + 2 + 3 + 4));

    // Constant prices: no deviation, so the channel index and wt1 are 0.
    Probe wt("WaveTrend", {2, 2, 2});
    std::optional<double> v;
    for (int i = 0; i < 6; ++i) v = wt({100, 100, 100});
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.0);
    EXPECT_EQ(wt.out("wt2"), 0.0);

    // Period 2: one true range (max(2, |13 - 11|, |11 - 11|) = 2) and sqrt(2).
    Probe rwi("Rwi", {2});
    EXPECT_FALSE(rwi({12, 10, 11}));
    EXPECT_EQ(*rwi({13, 11, 12}), (13.0 - 10.0) / (2.0 * std::sqrt(2.0)));
    EXPECT_EQ(rwi.out("low"), (12.0 - 11.0) / (2.0 * std::sqrt(2.0)));
    // A gap up: the low is above the earlier high, so the low index stays 0.
    EXPECT_EQ(*rwi({17, 15, 16}), (17.0 - 11.0) / (5.0 * std::sqrt(2.0)));
    EXPECT_EQ(rwi.out("low"), 0.0);
}

TEST(CandleEdge, TrendStops) {
    // Starts up, so the first value is the lower band: mid 10 - 1 * ATR 2.
    Probe st("SuperTrend", {1, 1});
    EXPECT_EQ(*st({11, 9, 10}), 8.0);
    EXPECT_EQ(st.out("direction"), 1.0);
    // TR max(2, |12 - 10|, |10 - 10|) = 2: bands 9 and 13; lower rises to 9.
    EXPECT_EQ(*st({12, 10, 11}), 9.0);
    // A higher basic upper band does not replace the stored one while the previous
    // close stayed below it; a close under the lower band turns the trend down.
    EXPECT_EQ(*st({11.5, 6, 6}), 12.0);  // TR 5.5: basic bands 14.25 and 3.25
    EXPECT_EQ(st.out("direction"), -1.0);

    Probe n("Nrtr", {10});
    EXPECT_EQ(*n.close(100), 90.0);
    EXPECT_EQ(*n.close(110), 99.0);  // (1 - 0.1) * 110
    EXPECT_EQ(n.out("direction"), 1.0);
    EXPECT_EQ(*n.close(99), 99.0);  // exactly on the line: no flip
    EXPECT_EQ(n.out("direction"), 1.0);
    EXPECT_EQ(*n.close(90), 99.00000000000001);  // (1 + 0.1) * 90, now short
    EXPECT_EQ(n.out("direction"), -1.0);
    EXPECT_EQ(*n.close(80), 88.0);
    EXPECT_EQ(n.out("direction"), -1.0);

    Probe mm("ModifiedMaStop", {2});
    EXPECT_FALSE(mm.close(10));
    EXPECT_EQ(*mm.close(10), 10.0);  // close equal to the average: up
    EXPECT_EQ(mm.out("direction"), 1.0);
    EXPECT_EQ(*mm.close(20), 15.0);  // (20 + 10) / 2, the stop ratchets up
    EXPECT_EQ(*mm.close(12), 13.5);  // average 13.5 < stop 15 and close 12 < 15: flips to it
    EXPECT_EQ(mm.out("direction"), -1.0);

    Probe vx("Vortex", {2});
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(vx({5, 5, 5}));
    EXPECT_EQ(*vx({5, 5, 5}), 0.0);
    EXPECT_EQ(vx.out("minus"), 0.0);
    Probe vy("Vortex", {1});
    vy({10, 8, 9});
    // VM+ = |12 - 8| = 4, VM- = |9 - 10| = 1, TR = max(3, 3, 0) = 3.
    EXPECT_EQ(*vy({12, 9, 11}), 4.0 / 3.0);
    EXPECT_EQ(vy.out("minus"), 1.0 / 3.0);
}
