// Order-book and trade-with-quote kinds fed hand-built books and trades, checked
// against values worked out by hand from the kinds' definitions.
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

std::unique_ptr<Indicator> make(std::string_view kind, const std::vector<double>& params = {}) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

FeedSnapshot with(const OrderBook* book, const std::vector<Trade>& trades = {}, double close = 100.0) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = close;
    s.order_book = book;
    s.trades = trades;
    return s;
}

std::optional<double> once(std::string_view kind, const OrderBook& book, const std::vector<double>& params = {}) {
    auto ind = make(kind, params);
    return ind ? ind->update(with(&book)) : std::nullopt;
}

Trade buy(double price, double size) { return {price, size, 0, false}; }
Trade sell(double price, double size) { return {price, size, 0, true}; }

const char* const kBookKinds[] = {"QuotedSpread", "OrderBookImbalanceTop1", "OrderBookImbalanceTopN",
                                  "OrderBookImbalanceFull", "Microprice", "DepthSlope", "OrderFlowImbalance"};

}  // namespace

TEST(MultifeedBook, SnapshotKindsOnOneBook) {
    const OrderBook book{{{99, 3}, {98, 1}, {97, 4}}, {{101, 1}, {102, 1}}};
    EXPECT_EQ(once("QuotedSpread", book), 200.0);
    EXPECT_EQ(once("OrderBookImbalanceTop1", book), 0.5);
    EXPECT_EQ(once("OrderBookImbalanceTopN", book, {2}), 2.0 / 6.0);
    EXPECT_EQ(once("OrderBookImbalanceFull", book), 6.0 / 10.0);
    // Levels beyond the book's depth: all of it, as the full imbalance.
    EXPECT_EQ(once("OrderBookImbalanceTopN", book, {50}), once("OrderBookImbalanceFull", book));
    EXPECT_EQ(once("Microprice", book), (99.0 * 1 + 101.0 * 3) / 4.0);
}

TEST(MultifeedBook, EmptySidesAndZeroSizes) {
    const OrderBook asks_only{{}, {{101, 2}, {102, 1}}};
    const OrderBook empty{};
    for (const OrderBook* b : {&asks_only, &empty}) {
        EXPECT_EQ(once("QuotedSpread", *b), 0.0);
        EXPECT_EQ(once("OrderBookImbalanceTop1", *b), 0.0);
        EXPECT_EQ(once("Microprice", *b), 0.0);
        EXPECT_EQ(once("DepthSlope", *b), 0.0);
    }
    // An empty side sums to 0: a book with asks only is -1.
    EXPECT_EQ(once("OrderBookImbalanceFull", asks_only), -1.0);
    EXPECT_EQ(once("OrderBookImbalanceTopN", asks_only, {1}), -1.0);
    EXPECT_EQ(once("OrderBookImbalanceFull", empty), 0.0);
    const OrderBook sizeless{{{99, 0}}, {{101, 0}}};
    EXPECT_EQ(once("Microprice", sizeless), 100.0);
    EXPECT_EQ(once("OrderBookImbalanceTop1", sizeless), 0.0);
}

TEST(MultifeedBook, DepthSlopeFitsCumulativeDepthOnDistance) {
    // Bids at distances 1, 2 with depth 1, 3: slope 2; asks at 1, 3 with depth 1, 2:
    // slope 0.5; the result is their midpoint.
    const OrderBook book{{{99, 1}, {98, 2}}, {{101, 1}, {103, 1}}};
    EXPECT_EQ(once("DepthSlope", book), 1.25);
    const OrderBook one_level{{{99, 1}}, {{101, 1}, {103, 1}}};
    EXPECT_EQ(once("DepthSlope", one_level), 0.0);
    // Levels at one distance: the denominator is 0 and that side's slope 0.
    const OrderBook flat{{{99, 1}, {99, 2}}, {{101, 1}, {103, 1}}};
    EXPECT_EQ(once("DepthSlope", flat), 0.25);
}

TEST(MultifeedBook, OrderFlowImbalanceSumsTheFlowOfBestQuotes) {
    auto ind = make("OrderFlowImbalance", {2});
    EXPECT_EQ(ind->warmup_period(), 3u);
    const OrderBook b1{{{100, 5}}, {{101, 4}}};
    const OrderBook b2{{{100, 7}}, {{101, 3}}};
    const OrderBook b3{{{101, 2}}, {{102, 6}}};
    const OrderBook one_sided{{{90, 1}}, {}};
    const OrderBook b5{{{100.5, 1}}, {{101.5, 2}}};
    EXPECT_EQ(ind->update(with(&b1)), std::nullopt);
    EXPECT_EQ(ind->update(with(&b2)), std::nullopt);  // flow (7 - 5) - (3 - 4) = 3
    EXPECT_EQ(ind->update(with(nullptr)), std::nullopt);
    EXPECT_EQ(ind->update(with(&b3)), 8.0);           // flow 2 - (0 - 3) = 5
    EXPECT_EQ(ind->update(with(&one_sided)), std::nullopt);  // the stored quote stays
    EXPECT_EQ(ind->update(with(&b5)), 1.0);           // flow -2 - 2 = -4; 5 - 4
}

TEST(MultifeedBook, EveryBookKindNeedsABook) {
    const std::vector<Trade> trades{buy(100, 1)};
    for (const char* kind : kBookKinds) {
        auto ind = make(kind, std::string_view(kind) == "OrderBookImbalanceTopN" ||
                                      std::string_view(kind) == "OrderFlowImbalance"
                                  ? std::vector<double>{1}
                                  : std::vector<double>{});
        FeedSnapshot s = with(nullptr, trades);
        s.reference = 1.0;
        s.derivatives = DerivativesTick{};
        EXPECT_FALSE(ind->update(s)) << kind;
        EXPECT_TRUE(ind->outputs().empty()) << kind;
    }
}

TEST(MultifeedQuotes, EffectiveSpreadAgainstTheQuoteMidOrTheClose) {
    const OrderBook book{{{99, 1}}, {{101, 1}}};
    auto ind = make("EffectiveSpread");
    // A sell at 99.5 below a mid of 100: 20000 x -1 x -0.5 / 100.
    EXPECT_EQ(ind->update(with(&book, {buy(100.7, 1), sell(99.5, 1)})), 100.0);
    // No book: the close is the mid.
    EXPECT_EQ(ind->update(with(nullptr, {buy(101, 1)}, 100.0)), 200.0);
    const OrderBook one_sided{{{99, 1}}, {}};
    EXPECT_EQ(ind->update(with(&one_sided, {buy(101, 1)}, 50.0)), 20000.0 * 51.0 / 50.0);
    EXPECT_EQ(ind->update(with(nullptr, {buy(101, 1)}, 0.0)), std::nullopt);
    EXPECT_EQ(ind->update(with(nullptr, {buy(101, 1)}, -5.0)), std::nullopt);
    EXPECT_EQ(ind->update(with(&book, {})), std::nullopt);
}

TEST(MultifeedQuotes, RealizedSpreadScoresATradePeriodTradesLater) {
    auto ind = make("RealizedSpread", {1});
    EXPECT_EQ(ind->warmup_period(), 2u);
    const OrderBook at100{{{99, 1}}, {{101, 1}}};
    const OrderBook at102{{{101, 1}}, {{103, 1}}};
    EXPECT_EQ(ind->update(with(&at100, {buy(100.5, 1)})), std::nullopt);
    // An unusable mid changes nothing.
    EXPECT_EQ(ind->update(with(nullptr, {sell(1, 1)}, 0.0)), std::nullopt);
    // The buy at 100.5 scored against the later mid 102: 20000 x (100.5 - 102) / 100.
    EXPECT_EQ(ind->update(with(&at102, {sell(101, 1)})), -300.0);
    // Then the sell at 101 (mid 102) against 100: 20000 x -1 x (101 - 100) / 102.
    EXPECT_EQ(ind->update(with(nullptr, {buy(100, 1)}, 100.0)), -20000.0 / 102.0);
}

TEST(MultifeedQuotes, KylesLambdaRegressesMidChangesOnSignedSize) {
    auto ind = make("KylesLambda", {2});
    EXPECT_EQ(ind->warmup_period(), 3u);
    const OrderBook at100{{{99, 1}}, {{101, 1}}};
    const OrderBook at101{{{100.5, 1}}, {{101.5, 1}}};
    EXPECT_EQ(ind->update(with(&at100, {buy(100, 2)})), std::nullopt);
    EXPECT_EQ(ind->update(with(nullptr, {buy(100, 2)}, std::nan(""))), std::nullopt);
    // Pairs (3, 1) and (-1, 0): covariance 1 over variance 4.
    EXPECT_EQ(ind->update(with(&at101, {buy(101, 3), sell(101, 1)})), 0.25);
    // Pairs (-1, 0) and (-2, -1), the mid back at the close of 100.
    EXPECT_EQ(ind->update(with(nullptr, {sell(100, 2)}, 100.0)), 1.0);
}

TEST(MultifeedQuotes, KylesLambdaWithoutVariationIsZero) {
    const OrderBook book{{{99, 1}}, {{101, 1}}};
    auto same_side = make("KylesLambda", {3});
    auto equal_sizes = make("KylesLambda", {3});
    std::optional<double> a, b;
    for (int i = 0; i < 5; ++i) {
        a = same_side->update(with(&book, {sell(100, 1.0 + i)}));
        const OrderBook moving{{{99.0 + i, 1}}, {{101.0 + i, 1}}};
        b = equal_sizes->update(with(&moving, {buy(100, 2)}));
    }
    EXPECT_EQ(a, 0.0);  // constant mid: zero covariance
    EXPECT_EQ(b, 0.0);  // equal signed sizes: zero variance
}
