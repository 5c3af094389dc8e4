// Market-breadth kinds fed hand-built cross-sections, checked against values worked
// out by hand from the kinds' definitions.
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

using Cross = std::vector<CrossSectionEntry>;

std::unique_ptr<Indicator> make(std::string_view kind, const std::vector<double>& params = {}) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

FeedSnapshot with(const Cross* cross) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = 100.0;
    s.cross_section = cross;
    return s;
}

// Every feed but the cross-section.
FeedSnapshot without() {
    static const std::vector<Trade> trades{{100.0, 1.0, 0, false}};
    static const OrderBook book{{{99.0, 1.0}}, {{101.0, 1.0}}};
    FeedSnapshot s = with(nullptr);
    s.reference = 1.0;
    s.derivatives = DerivativesTick{};
    s.trades = trades;
    s.order_book = &book;
    return s;
}

CrossSectionEntry entry(double change, double volume, bool high = false, bool low = false, bool above = false,
                        bool bull = false) {
    return {change, volume, high, low, above, bull};
}

std::optional<double> once(std::string_view kind, const Cross& cross) {
    auto ind = make(kind);
    return ind ? ind->update(with(&cross)) : std::nullopt;
}

Cross advancing(int a, int d) {
    Cross c;
    for (int i = 0; i < a; ++i) c.push_back(entry(1.0, 1.0));
    for (int i = 0; i < d; ++i) c.push_back(entry(-1.0, 1.0));
    return c;
}

const char* const kKinds[] = {"AbsoluteBreadthIndex", "AdVolumeLine", "AdvanceDecline", "AdvanceDeclineRatio",
                              "BreadthThrust", "BullishPercentIndex", "CumulativeVolumeIndex", "HighLowIndex",
                              "McClellanOscillator", "McClellanSummationIndex", "NewHighsNewLows",
                              "PercentAboveMa", "TickIndex", "Trin", "UpDownVolumeRatio"};

}  // namespace

TEST(MultifeedBreadth, OneAdvanceOneDeclineAndOneUnchanged) {
    const Cross c{entry(1.5, 10), entry(-0.2, 5), entry(0.0, 7)};
    EXPECT_EQ(once("TickIndex", c), 0.0);
    EXPECT_EQ(once("AdvanceDeclineRatio", c), 1.0);
    EXPECT_EQ(once("UpDownVolumeRatio", c), 2.0);
    EXPECT_EQ(once("Trin", c), 0.5);
    EXPECT_EQ(once("AbsoluteBreadthIndex", c), 0.0);
    EXPECT_EQ(once("AdVolumeLine", c), 5.0);
    EXPECT_EQ(once("CumulativeVolumeIndex", c), 5.0);
    EXPECT_EQ(once("AdvanceDecline", c), 0.0);
}

TEST(MultifeedBreadth, CountsAndShares) {
    const Cross c{entry(1, 4, true, false, true, true), entry(2, 4, true, false, false, true),
                  entry(-1, 0.5, false, true, true, false), entry(3, 1, false, false, false, false)};
    EXPECT_EQ(once("AdvanceDeclineRatio", c), 3.0);
    EXPECT_EQ(once("AbsoluteBreadthIndex", c), 2.0);
    EXPECT_EQ(once("NewHighsNewLows", c), 1.0);
    EXPECT_EQ(once("PercentAboveMa", c), 50.0);
    EXPECT_EQ(once("BullishPercentIndex", c), 50.0);
    // A down volume below 1 divides by 1.
    EXPECT_EQ(once("UpDownVolumeRatio", c), 9.0);
    EXPECT_EQ(once("Trin", c), 3.0 / 9.0);
    EXPECT_EQ(once("AbsoluteBreadthIndex", advancing(1, 4)), 3.0);
}

TEST(MultifeedBreadth, AnEmptyCrossSectionIsPresent) {
    const Cross empty;
    EXPECT_TRUE(std::isnan(*once("PercentAboveMa", empty)));
    EXPECT_TRUE(std::isnan(*once("BullishPercentIndex", empty)));
    for (const char* kind : {"AbsoluteBreadthIndex", "AdvanceDeclineRatio", "TickIndex", "NewHighsNewLows", "Trin",
                             "AdvanceDecline", "AdVolumeLine", "CumulativeVolumeIndex", "McClellanOscillator",
                             "McClellanSummationIndex"})
        EXPECT_EQ(once(kind, empty), 0.0) << kind;
    auto udvr = once("UpDownVolumeRatio", empty);
    ASSERT_TRUE(udvr);
    EXPECT_EQ(*udvr, 0.0);
    EXPECT_TRUE(std::signbit(*udvr));  // -0 / 1
    // An empty bar leaves a running line where it was.
    auto line = make("AdvanceDecline");
    const Cross c = advancing(5, 2);
    line->update(with(&c));
    EXPECT_EQ(line->update(with(&empty)), 3.0);
}

TEST(MultifeedBreadth, NaNAndInfiniteEntriesFlowThrough) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Cross c{entry(nan, 100), entry(1, 6), entry(-1, nan)};
    EXPECT_EQ(once("TickIndex", c), 0.0);  // the NaN change counts in neither
    // max(NaN, 1) is 1, so a NaN down volume divides by 1.
    EXPECT_EQ(once("UpDownVolumeRatio", c), 6.0);
    EXPECT_TRUE(std::isnan(*once("AdVolumeLine", c)));
    const Cross inf{entry(1, std::numeric_limits<double>::infinity())};
    EXPECT_EQ(once("UpDownVolumeRatio", inf), std::numeric_limits<double>::infinity());
}

TEST(MultifeedBreadth, McClellanAveragesStartAtTheFirstRatio) {
    auto osc = make("McClellanOscillator");
    auto sum = make("McClellanSummationIndex");
    const Cross up = advancing(1, 0), down = advancing(0, 1), flat;
    // r = 1000: both averages 1000, oscillator 0.
    EXPECT_EQ(osc->update(with(&up)), 0.0);
    EXPECT_EQ(sum->update(with(&up)), 0.0);
    // r = -1000: fast 1000 - 200 = 800, slow 1000 - 100 = 900.
    EXPECT_EQ(osc->update(with(&down)), -100.0);
    EXPECT_EQ(sum->update(with(&down)), -100.0);
    EXPECT_EQ(osc->update(without()), std::nullopt);
    EXPECT_EQ(sum->update(without()), std::nullopt);
    // r = 0: fast 800 - 80 = 720, slow 900 - 45 = 855.
    EXPECT_EQ(osc->update(with(&flat)), -135.0);
    EXPECT_EQ(sum->update(with(&flat)), -235.0);
    // A constant ratio keeps the oscillator at 0.
    auto still = make("McClellanOscillator");
    const Cross c = advancing(3, 1);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(still->update(with(&c)), 0.0);
}

TEST(MultifeedBreadth, BreadthThrustSeedsWithTheMeanOfItsFirstRatios) {
    auto ind = make("BreadthThrust", {3});
    EXPECT_EQ(ind->warmup_period(), 3u);
    const Cross a = advancing(3, 1), b = advancing(1, 1), empty, all = advancing(2, 0);
    EXPECT_EQ(ind->update(with(&a)), std::nullopt);
    EXPECT_EQ(ind->update(without()), std::nullopt);  // neither counted nor averaged
    EXPECT_EQ(ind->update(with(&b)), std::nullopt);
    const double seed = (0.75 + 0.5 + 0.0) / 3.0;
    EXPECT_EQ(ind->update(with(&empty)), seed);
    // alpha 0.5: 0.5 x 1 + 0.5 x seed, both products exact.
    EXPECT_EQ(ind->update(with(&all)), 0.5 + seed / 2.0);
}

TEST(MultifeedBreadth, HighLowIndexAveragesTheShareOfNewHighs) {
    auto ind = make("HighLowIndex", {2});
    EXPECT_EQ(ind->warmup_period(), 2u);
    const Cross c{entry(1, 1, true), entry(1, 1, true), entry(1, 1, true), entry(-1, 1, false, true)};
    const Cross none = advancing(2, 2);
    EXPECT_EQ(ind->update(with(&c)), std::nullopt);
    EXPECT_EQ(ind->update(without()), std::nullopt);
    EXPECT_EQ(ind->update(with(&none)), 37.5);  // (75 + 0) / 2
}

TEST(MultifeedBreadth, NoCrossSectionGivesNothingAndChangesNothing) {
    const Cross bars[] = {advancing(4, 1), {entry(2, 3, true, false, true, false), entry(-1, 7, false, true)},
                          {}, advancing(0, 3), {entry(5, 2, true, false, true, true)}};
    for (const char* kind : kKinds) {
        const std::vector<double> params =
            std::string_view(kind) == "BreadthThrust" || std::string_view(kind) == "HighLowIndex"
                ? std::vector<double>{2}
                : std::vector<double>{};
        auto clean = make(kind, params);
        auto noisy = make(kind, params);
        for (int round = 0; round < 3; ++round)
            for (const Cross& c : bars) {
                EXPECT_FALSE(noisy->update(without())) << kind;
                const auto want = clean->update(with(&c));
                const auto got = noisy->update(with(&c));
                ASSERT_EQ(got.has_value(), want.has_value()) << kind;
                if (want && !std::isnan(*want)) EXPECT_EQ(*got, *want) << kind;
            }
        EXPECT_TRUE(clean->outputs().empty()) << kind;
    }
}
