// Simple candle measures: TrueRange, HighLowRange, MarketFacilitationIndex and
// BalanceOfPower, with the candle checks they apply.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

namespace {

using ostrel::FeedSnapshot;
using Values = std::vector<std::optional<double>>;

FeedSnapshot bar(double o, double h, double l, double c, double v = 1.0) {
    FeedSnapshot s;
    s.candle.open = o;
    s.candle.high = h;
    s.candle.low = l;
    s.candle.close = c;
    s.candle.volume = v;
    return s;
}

std::unique_ptr<ostrel::Indicator> make(const char* kind) {
    auto r = ostrel::build_indicator(kind, {});
    EXPECT_TRUE(r.has_value()) << kind;
    return r ? std::move(*r) : nullptr;
}

Values feed(const char* kind, const std::vector<FeedSnapshot>& bars) {
    auto ind = make(kind);
    Values out;
    for (const auto& b : bars) out.push_back(ind->update(b));
    return out;
}

const char* const kMeasures[] = {"TrueRange", "HighLowRange", "MarketFacilitationIndex", "BalanceOfPower"};

}  // namespace

TEST(CandleMeasures, TrueRange) {
    EXPECT_EQ(feed("TrueRange", {bar(9, 10, 9, 10), bar(7.5, 8, 7, 7.5)}), (Values{1.0, 3.0}));
    EXPECT_EQ(feed("TrueRange", {bar(5, 6, 4, 5), bar(7, 9, 7, 8)}), (Values{2.0, 4.0}));  // |H - pc|
    EXPECT_EQ(feed("TrueRange", {bar(9, 10, 9, 10), bar(9, 9, 8, 8.5)}), (Values{1.0, 2.0}));  // |L - pc|
    // A failing candle gives nothing and leaves the previous close where it was.
    EXPECT_EQ(feed("TrueRange", {bar(9, 10, 9, 10), bar(20, 19, 30, 20), bar(7.5, 8, 7, 7.5)}),
              (Values{1.0, std::nullopt, 3.0}));
}

TEST(CandleMeasures, HighLowRangeAndBalanceOfPower) {
    EXPECT_EQ(feed("HighLowRange", {bar(0, 1, -1, 0), bar(2, 3, 1, 2)}), (Values{0.0, 1.0}));
    EXPECT_EQ(feed("HighLowRange", {bar(-2, -1, -3, -2)}), (Values{-1.0}));  // negative close, plain quotient
    EXPECT_EQ(feed("BalanceOfPower", {bar(5, 5, 5, 5), bar(1, 5, 1, 4), bar(4, 5, 0, 1)}),
              (Values{0.0, 0.75, -0.6}));
}

TEST(CandleMeasures, MarketFacilitationIndex) {
    EXPECT_EQ(feed("MarketFacilitationIndex", {bar(1, 3, 1, 2, 4), bar(1, 3, 1, 2, 0), bar(1, 3, 1, 2, -0.0),
                                               bar(1, 5, 1, 2, 8)}),
              (Values{0.5, std::nullopt, std::nullopt, 0.5}));
}

TEST(CandleMeasures, EveryCandleCheckRefuses) {
    const FeedSnapshot bad[] = {
        bar(NAN, 2, 1, 1.5),      bar(1, 2, 1, 1.5, INFINITY), bar(1, 2, 1, 1.5, -1.0),
        bar(1.5, 1, 2, 1.5),      bar(3, 2, 1, 1.5),           bar(1.5, 2, 1, 0.5),
    };
    for (const char* k : kMeasures) {
        auto ind = make(k);
        for (const auto& b : bad) EXPECT_FALSE(ind->update(b).has_value()) << k;
        EXPECT_TRUE(ind->update(bar(1, 2, 1, 1.5, 2)).has_value()) << k;
    }
}
