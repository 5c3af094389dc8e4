// The volume, range-eighths, volatility-cone and volume-weighted support and
// resistance kinds: the boundary cases of each kind and small candle sequences
// worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {


struct Bar {
    double o, h, l, c, v;
};

Bar flat(double price, double volume) { return {price, price, price, price, volume}; }

class Probe {
public:
    Probe(std::string_view kind, std::vector<double> params) {
        auto r = build_indicator(kind, params);
        EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
        if (r) ind_ = std::move(*r);
    }
    std::optional<double> operator()(const Bar& b) { return push(Candle{0, b.o, b.h, b.l, b.c, b.v}); }
    std::optional<double> push(const Candle& c) {
        FeedSnapshot s;
        s.candle = c;
        return ind_->update(s);
    }
    std::vector<double> run(const std::vector<Bar>& bars) {
        std::vector<double> out;
        for (const Bar& b : bars) {
            auto v = (*this)(b);
            out.push_back(v ? *v : std::nan(""));
        }
        return out;
    }
    std::vector<NamedOutput> outs() const {
        auto s = ind_->outputs();
        return {s.begin(), s.end()};
    }
    double out(std::string_view name) const {
        for (const NamedOutput& o : ind_->outputs())
            if (o.name == name) return o.value;
        ADD_FAILURE() << "no output " << name;
        return std::nan("");
    }
    std::size_t warmup() const { return ind_->warmup_period(); }

private:
    std::unique_ptr<Indicator> ind_;
};

// High below low: fails the candle checks.
const Candle kBadCandle{0, 10.0, 9.0, 11.0, 10.0, 100.0};

}  // namespace

// ---------------------------------------------------------------- accumulators

TEST(CandleVolumeAccumulators, ChaikinMoneyFlowZeroVolumeAndFlatBars) {
    Probe cmf("ChaikinMoneyFlow", {2});
    EXPECT_FALSE(cmf({10, 11, 9, 10.5, 0}));
    EXPECT_EQ(cmf({10, 11, 9, 9.5, 0}), 0.0);  // no volume in the window
    // q = (1.5 - 0.5) / 2 = 0.5, mfv 50; the flat bar adds 0: 50 / 200.
    EXPECT_EQ(cmf({9, 10, 8, 9.5, 100}), 50.0 / 100.0);
    EXPECT_EQ(cmf(flat(9, 100)), 0.25);
}

TEST(CandleVolumeAccumulators, KvoWithoutTrendGivesZeroForce) {
    // high + low + close never changes: the trend stays 0, so every force is 0.
    Probe still("Kvo", {1, 2});
    EXPECT_FALSE(still({9, 10, 8, 9, 100}));
    EXPECT_FALSE(still({9, 10, 8, 9, 500}));
    EXPECT_EQ(still({9, 10, 8, 9, 50}), 0.0);
    EXPECT_EQ(still({9, 10, 8, 9, 70}), 0.0);
}

TEST(CandleVolumeAccumulators, KvoZeroCumulativeRange) {
    // Flat bars moving up: the trend is +1 but the accumulated range stays 0, so the
    // force is 0 rather than a 0 / 0.
    Probe kvo("Kvo", {1, 2});
    EXPECT_FALSE(kvo(flat(10, 100)));
    EXPECT_FALSE(kvo(flat(11, 100)));  // slow average still seeding
    EXPECT_EQ(kvo(flat(12, 100)), 0.0);
    EXPECT_EQ(kvo(flat(13, 100)), 0.0);
}

TEST(CandleVolumeAccumulators, KvoWorkedCase) {
    Probe kvo("Kvo", {1, 2});
    EXPECT_FALSE(kvo({9, 10, 8, 9, 100}));    // dm 2, hlc 27
    EXPECT_FALSE(kvo({10, 11, 9, 10, 200}));  // up: cm = 2 + 2, t = -0.5, force 200 * 1 * 100
    // Up again: cm = 3 + 4 = 7, t = 3/7 - 1, force 100 * |2t| * 100 ~ 11428.57; the
    // fast average (period 1) is the force, the slow one the mean of both forces.
    auto v = kvo({10, 12, 9, 11, 100});
    ASSERT_TRUE(v);
    const double force = 100.0 * (8.0 / 7.0) * 100.0;
    EXPECT_NEAR(*v, force - (force + 20000.0) / 2.0, 1e-9);
    EXPECT_NEAR(*v, -4285.714285714285, 1e-9);
}

TEST(CandleVolumeAccumulators, ForceIndexPeriodOne) {
    Probe fi("ForceIndex", {1});
    EXPECT_FALSE(fi(flat(10, 5)));
    EXPECT_EQ(fi(flat(12, 50)), 100.0);
    EXPECT_EQ(fi(flat(11, 20)), -20.0);
    EXPECT_EQ(fi(flat(11, 20)), 0.0);
}

TEST(CandleVolumeAccumulators, EaseOfMovementZeroVolumeAddsZero) {
    Probe eom("EaseOfMovement", {1});
    EXPECT_FALSE(eom({9, 10, 8, 9, 100}));   // midpoint 9
    EXPECT_EQ(eom({11, 12, 10, 11, 0}), 0.0);  // no volume: 0, not a division by 0
    // midpoint 12 against 11, range 4: 1e8 * 4 * 1 / 2e8.
    EXPECT_EQ(eom({12, 14, 10, 12, 2e8}), 2.0);
}

TEST(CandleVolumeAccumulators, MfiNeutralAndOneSided) {
    Probe rising("Mfi", {3});
    Probe level("Mfi", {3});
    std::optional<double> r, l;
    for (int i = 0; i < 6; ++i) {
        r = rising(flat(10.0 + i, 100));
        l = level(flat(10.0, 100));
    }
    EXPECT_EQ(r, 100.0);
    EXPECT_EQ(l, 50.0);
    // Typical prices 10, 12, 11: positive flow 12 * 100, negative 11 * 200; 600 / 17.
    Probe mixed("Mfi", {2});
    mixed(flat(10, 1));
    mixed(flat(12, 100));
    auto v = mixed(flat(11, 200));
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 600.0 / 17.0, 1e-12);
}

// ---------------------------------------------------------------- volume classes

TEST(CandleVolumeClasses, BetterVolumePeriodOne) {
    Probe bv("BetterVolume", {1});
    EXPECT_EQ(bv({10, 11, 9, 10.5, 100}), 4.0);
    EXPECT_EQ(bv({10, 11, 9, 9.5, 100}), 4.0);
    EXPECT_EQ(bv(flat(10, 100)), 3.0);  // no range: no churn; open == close
    EXPECT_EQ(bv(flat(10, 0)), 3.0);
}

TEST(CandleVolumeClasses, BetterVolumeCodes) {
    // Two older bars of range 1 and volume 100: rv 100, volume per range 100.
    auto third = [](const Bar& b) {
        Probe bv("BetterVolume", {3});
        bv({10, 11, 10, 10.5, 100});
        bv({10, 11, 10, 10.5, 100});
        return bv(b);
    };
    EXPECT_EQ(third({10, 12, 10, 11, 300}), 4.0);   // rv 600, 150 per range
    EXPECT_EQ(third({10, 20, 10, 11, 50}), 3.0);    // rv 500 but 5 per range; low volume too
    EXPECT_EQ(third({15, 20, 10, 11, 50}), -3.0);   // the same, closing below its open
    EXPECT_EQ(third({10, 10.1, 10, 10, 90}), 2.0);  // rv 9, 900 per range
    EXPECT_EQ(third({10, 10.5, 10, 10, 50}), 1.0);  // rv 25, 100 per range, volume below 100
    EXPECT_EQ(third({10, 11, 10, 10, 100}), 0.0);   // ties everywhere
}

TEST(CandleVolumeClasses, BetterVolumeIgnoresFlatBarsForChurn) {
    // The flat bar's volume per range is infinite but it has no range, so it sets no
    // bar to beat.
    Probe bv("BetterVolume", {2});
    bv(flat(10, 1000));
    EXPECT_EQ(bv({10, 11, 10, 10.5, 5}), 4.0);
}

TEST(CandleVolumeClasses, RollingVwap) {
    Probe vwap("RollingVwap", {2});
    EXPECT_FALSE(vwap(flat(10, 0)));
    EXPECT_FALSE(vwap(flat(10, 0)));  // full window without volume
    EXPECT_EQ(vwap(flat(10, 100)), 10.0);
    EXPECT_EQ(vwap(flat(10, 100)), 10.0);
    EXPECT_EQ(vwap(flat(13, 200)), 12.0);  // (1000 + 2600) / 300
    EXPECT_EQ(vwap({12, 14, 12, 13, 100}), 13.0);
}

TEST(CandleVolumeClasses, TradeVolumeIndexDirection) {
    Probe tvi("TradeVolumeIndex", {0.5});
    EXPECT_FALSE(tvi(flat(10, 5)));
    EXPECT_EQ(tvi(flat(10.2, 7)), 0.0);  // within the tick: no direction yet
    EXPECT_EQ(tvi(flat(11, 9)), 9.0);
    EXPECT_EQ(tvi(flat(10.8, 4)), 13.0);  // within the tick: still up
    EXPECT_EQ(tvi(flat(10, 3)), 10.0);
    // A failing candle gives nothing and moves nothing.
    EXPECT_FALSE(tvi.push(kBadCandle));
    EXPECT_EQ(tvi(flat(10, 3)), 7.0);
}

TEST(CandleVolumeClasses, TsvWindowSum) {
    Probe tsv("Tsv", {2});
    EXPECT_FALSE(tsv(flat(10, 1)));
    EXPECT_FALSE(tsv(flat(12, 10)));  // +20
    EXPECT_EQ(tsv(flat(11, 5)), 15.0);  // -5
    EXPECT_EQ(tsv(flat(11, 5)), -5.0);  // 0
}

TEST(CandleVolumeClasses, TwiggsMoneyFlow) {
    Probe zero_range("TwiggsMoneyFlow", {1});
    zero_range(flat(10, 100));
    EXPECT_EQ(zero_range(flat(10, 100)), 0.0);  // true range 0: ad 0
    Probe no_volume("TwiggsMoneyFlow", {2});
    no_volume(flat(10, 0));
    EXPECT_FALSE(no_volume({10, 12, 9, 11, 0}));
    EXPECT_EQ(no_volume({11, 12, 9, 10, 0}), 0.0);
    // The true range reaches back to the previous close.
    Probe tmf("TwiggsMoneyFlow", {1});
    tmf(flat(10, 100));
    EXPECT_EQ(tmf({10, 12, 10, 11.5, 100}), 0.5);  // ad = 100 * (23 - 12 - 10) / 2
    auto gap = tmf({11, 11.2, 11, 11.1, 100});        // true high 11.5: (22.2 - 11.5 - 11) / 0.5
    ASSERT_TRUE(gap);
    EXPECT_NEAR(*gap, -0.6, 1e-12);
}

TEST(CandleVolumeClasses, VolumeOscillator) {
    Probe vo("VolumeOscillator", {1, 2});
    EXPECT_FALSE(vo(flat(10, 100)));
    auto v = vo(flat(10, 200));  // (200 - 150) * 100 / 150
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 100.0 / 3.0, 1e-12);
    Probe none("VolumeOscillator", {1, 2});
    none(flat(10, 0));
    EXPECT_EQ(none(flat(10, 0)), 0.0);
}

TEST(CandleVolumeClasses, Vzo) {
    Probe still("Vzo", {3});
    std::optional<double> last;
    for (int i = 0; i < 8; ++i) last = still(flat(10, 100.0 + i));
    EXPECT_EQ(last, 0.0);
    Probe vzo("Vzo", {1});
    EXPECT_FALSE(vzo(flat(10, 100)));
    EXPECT_EQ(vzo(flat(11, 100)), 100.0);
    EXPECT_EQ(vzo(flat(10, 50)), -100.0);
    EXPECT_EQ(vzo(flat(10, 0)), 0.0);  // no volume
}

// ---------------------------------------------------------------- Murrey lines

TEST(CandleMurreyMath, EighthsOfTheRange) {
    Probe mm("MurreyMathLines", {3});
    EXPECT_FALSE(mm({104, 108, 103, 105, 1}));
    EXPECT_TRUE(mm.outs().empty());
    EXPECT_FALSE(mm({104, 106, 100, 101, 1}));
    EXPECT_EQ(mm({104, 105, 102, 103, 1}), 108.0);
    auto outs = mm.outs();
    ASSERT_EQ(outs.size(), 9u);
    const char* names[] = {"mm8_8", "mm7_8", "mm6_8", "mm5_8", "mm4_8", "mm3_8", "mm2_8", "mm1_8", "mm0_8"};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(outs[i].name, names[i]);
        EXPECT_EQ(outs[i].value, 108.0 - static_cast<double>(i));
    }
    EXPECT_EQ(mm.out("mm4_8"), 104.0);
    // A failing candle keeps the lines.
    EXPECT_FALSE(mm.push(kBadCandle));
    EXPECT_EQ(mm.out("mm0_8"), 100.0);
    // The 108 high leaves the window: 100 .. 106, steps of 0.75.
    EXPECT_EQ(mm({103, 104, 102, 103, 1}), 106.0);
    EXPECT_EQ(mm.out("mm1_8"), 100.75);
}

TEST(CandleMurreyMath, FlatWindowAndPeriodOne) {
    Probe flat_window("MurreyMathLines", {2});
    flat_window(flat(50, 1));
    flat_window(flat(50, 1));
    for (const NamedOutput& o : flat_window.outs()) EXPECT_EQ(o.value, 50.0) << o.name;
    Probe one("MurreyMathLines", {1});
    EXPECT_EQ(one({10, 12, 4, 11, 1}), 12.0);
    EXPECT_EQ(one.out("mm0_8"), 4.0);
    EXPECT_EQ(one.out("mm2_8"), 6.0);
    EXPECT_EQ(one.out("mm6_8"), 10.0);
}

// ---------------------------------------------------------------- volatility cone

TEST(CandleVolatilityCone, WorkedCase) {
    Probe cone("VolatilityCone", {2, 2});
    const double ln2 = std::log(2.0);
    EXPECT_FALSE(cone(flat(1, 1)));
    EXPECT_FALSE(cone(flat(2, 1)));  // ln 2
    EXPECT_FALSE(cone(flat(2, 1)));  // 0: first volatility ln2 / sqrt 2
    EXPECT_TRUE(cone.outs().empty());
    auto v = cone(flat(8, 1));  // ln 4: second volatility ln4 / sqrt 2; first value on the 4th candle
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 2.0 * ln2 / std::sqrt(2.0), 1e-12);
    auto outs = cone.outs();
    ASSERT_EQ(outs.size(), 5u);
    const char* names[] = {"current", "min", "median", "max", "percentile"};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(outs[i].name, names[i]);
    EXPECT_NEAR(cone.out("min"), ln2 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(cone.out("median"), 1.5 * ln2 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(cone.out("max"), 2.0 * ln2 / std::sqrt(2.0), 1e-12);
    EXPECT_EQ(cone.out("percentile"), 100.0);
    cone(flat(8, 1));  // 0 against ln 4: the same volatility again
    EXPECT_EQ(cone.out("percentile"), 100.0);
    cone(flat(16, 1));  // ln 2 against 0: back to the smaller one, half the window at most
    EXPECT_NEAR(cone.out("current"), ln2 / std::sqrt(2.0), 1e-12);
    EXPECT_EQ(cone.out("percentile"), 50.0);
}

TEST(CandleVolatilityCone, ConstantClosesAndPercentileFloor) {
    Probe cone("VolatilityCone", {3, 4});
    for (int i = 0; i < 10; ++i) cone(flat(25, 1));
    EXPECT_EQ(cone.out("current"), 0.0);
    EXPECT_EQ(cone.out("max"), 0.0);
    EXPECT_EQ(cone.out("percentile"), 100.0);
    // Falling volatility: the current value is the smallest and still counts itself.
    Probe falling("VolatilityCone", {2, 4});
    const double closes[] = {100, 200, 100, 180, 110, 160, 120, 140, 125, 130, 127};
    for (double c : closes) falling(flat(c, 1));
    EXPECT_EQ(falling.out("percentile"), 25.0);
    EXPECT_EQ(falling.out("current"), falling.out("min"));
}

TEST(CandleVolatilityCone, NonPositiveCloseRepeatsTheCone) {
    const std::vector<Bar> head = {flat(10, 1), flat(11, 1), flat(10.5, 1), flat(12, 1), flat(11, 1)};
    Probe with_zero("VolatilityCone", {2, 2});
    Probe without("VolatilityCone", {2, 2});
    for (const Bar& b : head) {
        with_zero(b);
        without(b);
    }
    const auto before = with_zero.outs();
    ASSERT_EQ(before.size(), 5u);
    EXPECT_EQ(with_zero({1, 1, 0, 0, 1}), before[0].value);      // close 0
    EXPECT_EQ(with_zero({-1, 1, -2, -0.5, 1}), before[0].value);  // negative close
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(with_zero.outs()[i].value, before[i].value);
    // The next positive close forms its return against the close before the zeros.
    EXPECT_EQ(with_zero(flat(13, 1)), without(flat(13, 1)));
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(with_zero.outs()[i].value, without.outs()[i].value);
    // Before any cone a non-positive close gives nothing; a failing candle never repeats.
    Probe early("VolatilityCone", {2, 2});
    EXPECT_FALSE(early(flat(0, 1)));
    EXPECT_FALSE(with_zero.push(kBadCandle));
}

TEST(CandleVolatilityCone, CloseRatioBeyondFloatRange) {
    // 1e300 / 1e-300 overflows: that bar gives nothing and only moves the previous
    // close, so the cone stays finite instead of carrying an infinite return.
    Probe cone("VolatilityCone", {2, 2});
    const double closes[] = {1, 2, 1, 2, 1e-300, 1e300, 2e300, 1e300, 2e300, 1e300};
    std::vector<std::optional<double>> got;
    for (double c : closes) got.push_back(cone({c, c, c, c, 1}));
    EXPECT_FALSE(got[5]);
    for (std::size_t i = 6; i < got.size(); ++i) {
        ASSERT_TRUE(got[i]) << i;
        for (const NamedOutput& o : cone.outs()) EXPECT_TRUE(std::isfinite(o.value)) << o.name;
    }
    EXPECT_NEAR(cone.out("current"), 2.0 * std::log(2.0) / std::sqrt(2.0), 1e-9);
}

// ---------------------------------------------------------------- support and resistance

TEST(CandleVolumeWeightedSr, WeightedAndPlainMeans) {
    Probe sr("VolumeWeightedSr", {2});
    EXPECT_FALSE(sr({11, 12, 10, 11, 100}));
    EXPECT_TRUE(sr.outs().empty());
    EXPECT_EQ(sr({12, 14, 11, 13, 300}), 10.75);  // (1000 + 3300) / 400
    auto outs = sr.outs();
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].name, "support");
    EXPECT_EQ(outs[1].name, "resistance");
    EXPECT_EQ(outs[1].value, 13.5);  // (1200 + 4200) / 400
    EXPECT_FALSE(sr.push(kBadCandle));
    EXPECT_EQ(sr.out("resistance"), 13.5);
    // Zero-volume window: plain means of the lows and highs.
    EXPECT_EQ(sr({12, 13, 11, 12, 0}), 11.0);  // volume 300 still in the window
    EXPECT_EQ(sr({12, 16, 12, 14, 0}), 11.5);
    EXPECT_EQ(sr.out("resistance"), 14.5);
    Probe one("VolumeWeightedSr", {1});
    EXPECT_EQ(one({10, 12, 9, 11, 5}), 9.0);
    EXPECT_EQ(one.out("resistance"), 12.0);
    EXPECT_EQ(one({10, 12, 9, 11, 0}), 9.0);
}

// ---------------------------------------------------------------- failing candles
