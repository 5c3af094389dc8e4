// Trade-flow kinds fed bars of trades. The bar-by-bar values of a random trade
// stream are checked bit for bit against an independent model written from the
// kinds' definitions (pasted below); the rest against values worked out by hand.
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

constexpr std::nullopt_t N = std::nullopt;
using Series = std::vector<std::optional<double>>;

struct TradeCase {
    const char* kind;
    std::vector<double> params;
    Series expected;
};

// 24 bars of 0 to 3 trades (price, size, time, is_sell), some of size 0.
const std::vector<std::vector<Trade>> kBars = {
    {{99.98, 1.8, 0, false}},
    {{100.08, 0.6, 0, false}},
    {{99.99, 0.9, 0, true}, {99.73, 2.4, 0, true}, {100.01, 4.7, 0, false}},
    {},
    {{100.06, 3.7, 0, false}, {100.35, 0.0, 0, false}},
    {},
    {},
    {{100.27, 1.0, 0, false}, {100.32, 0.0, 0, false}},
    {},
    {{100.33, 6.2, 0, false}},
    {},
    {{100.08, 3.1, 0, false}, {100.38, 7.7, 0, true}},
    {{100.52, 0.4, 0, false}, {100.6, 0.9, 0, false}},
    {},
    {{100.4, 1.3, 0, false}, {100.14, 4.2, 0, true}, {100.05, 3.8, 0, true}},
    {{99.9, 3.1, 0, true}, {100.04, 0.0, 0, true}},
    {{100.04, 6.9, 0, false}, {99.92, 6.7, 0, false}, {99.73, 0.5, 0, false}},
    {{99.45, 7.8, 0, true}},
    {{99.74, 7.0, 0, false}, {99.48, 3.9, 0, true}},
    {{99.71, 7.5, 0, true}, {99.66, 1.8, 0, true}},
    {{99.91, 7.4, 0, false}},
    {{100.13, 5.5, 0, true}},
    {},
    {},
};
const TradeCase kCases[] = {
    {"CumulativeVolumeDelta", {}, {1.8, 2.4, 3.8000000000000003, N, 7.5, N, N, 8.5, N, 14.7, N, 10.100000000000001, 11.400000000000002, N, 4.700000000000004, 1.6000000000000036, 15.700000000000003, 7.900000000000003, 11.000000000000002, 1.7000000000000017, 9.100000000000001, 3.6000000000000014, N, N}},
    {"TradeImbalance", {5}, {N, N, 0.3653846153846154, N, 0.43589743589743596, N, N, 1.0, N, 1.0, N, 0.1444444444444445, 0.15846994535519132, N, -0.5094339622641506, -0.7903225806451609, 0.6395348837209304, 0.2876712328767125, 0.0965250965250966, -0.5, 0.04347826086956532, -0.4329501915708811, N, N}},
    {"Pin", {4}, {N, N, 0.0, N, 0.5, N, N, 1.0, N, 1.0, N, 0.5, 0.5, N, 0.0, 1.0, 0.5, 0.5, 0.0, 0.5, 0.5, 0.5, N, N}},
    {"TradeSignAutocorrelation", {5}, {N, N, 0.0, N, 0.5, N, N, 1.0, N, 1.0, N, 0.5, 0.0, N, 0.5, 0.5, 0.5, 0.0, -0.5, 0.0, 0.0, 0.0, N, N}},
    {"RollMeasure", {4}, {N, N, 0.2728400019547414, N, 0.3308574718314005, N, N, 0.21596681843900067, N, 0.19742087022399007, N, 0.30801785662522985, 0.2733892219284903, N, 0.10618380290796647, 0.13564659966249198, 0.0, 0.0, 0.3905551604233725, 0.444043916746965, 0.352621137577794, 0.19289461717043932, N, N}},
    {"AmihudIlliquidity", {3}, {N, N, 8.946669460507247e-06, N, 6.06419175445313e-06, N, N, 9.40787937072153e-06, N, 7.740234331101305e-06, N, 4.291904501020355e-06, 1.5774027859885716e-05, N, 7.925753889060667e-06, 4.458311767649855e-06, 1.3997102323171491e-05, 1.4528994265020908e-05, 4.84092198034066e-06, 4.203970902684561e-06, 3.090955087176008e-06, 3.392926936044348e-06, N, N}},
    {"Vpin", {7.5, 3}, {N, N, N, N, N, N, N, N, N, N, N, 0.8311111111111111, 0.8311111111111111, N, 0.6, 0.6, 0.6977777777777777, 0.9200000000000002, 0.9466666666666669, 0.9555555555555556, 0.7688888888888891, 0.6177777777777781, N, N}},
};
std::unique_ptr<Indicator> make(std::string_view kind, const std::vector<double>& params) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

FeedSnapshot with(const std::vector<Trade>& trades) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = 100.0;
    s.trades = trades;
    return s;
}

Trade buy(double price, double size) { return {price, size, 0, false}; }
Trade sell(double price, double size) { return {price, size, 0, true}; }

std::optional<double> last_of(std::string_view kind, const std::vector<double>& params,
                              const std::vector<std::vector<Trade>>& bars) {
    auto ind = make(kind, params);
    std::optional<double> v;
    for (const auto& bar : bars) v = ind->update(with(bar));
    return v;
}

}  // namespace

TEST(MultifeedTrades, BarValuesMatchTheModelBitForBit) {
    for (const TradeCase& c : kCases) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        ASSERT_EQ(c.expected.size(), kBars.size());
        for (std::size_t i = 0; i < kBars.size(); ++i)
            EXPECT_EQ(ind->update(with(kBars[i])), c.expected[i]) << c.kind << " bar " << i;
        EXPECT_TRUE(ind->outputs().empty());
    }
}

TEST(MultifeedTrades, ABarWithoutUsableTradesGivesNothingAndChangesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Trades that fail the trade check are skipped like absent ones.
    const std::vector<Trade> broken{{nan, 1.0, 0, false}, {0.0, 2.0, 0, true}, {101.0, -1.0, 0, false},
                                    {101.0, nan, 0, true}};
    for (const TradeCase& c : kCases) {
        auto ind = make(c.kind, c.params);
        for (std::size_t i = 0; i < kBars.size(); ++i) {
            EXPECT_FALSE(ind->update(with({}))) << c.kind;
            EXPECT_FALSE(ind->update(with(broken))) << c.kind;
            std::vector<Trade> mixed;
            for (const Trade& t : kBars[i]) {
                mixed.push_back(broken[i % 4]);
                mixed.push_back(t);
            }
            mixed.push_back(broken[(i + 1) % 4]);
            EXPECT_EQ(ind->update(with(mixed)), c.expected[i]) << c.kind << " bar " << i;
        }
    }
}

TEST(MultifeedTrades, SignedVolumeUsesTheLastTradeAndTheDeltaAddsThemAll) {
    const std::vector<std::vector<Trade>> bars{{buy(10, 5), sell(10, 2)}};
    EXPECT_EQ(last_of("SignedVolume", {}, bars), -2.0);
    EXPECT_EQ(last_of("CumulativeVolumeDelta", {}, bars), 3.0);
    EXPECT_EQ(last_of("CumulativeVolumeDelta", {}, {bars[0], {}, {sell(9, 4)}}), -1.0);
}

TEST(MultifeedTrades, TradeImbalanceOfSizelessTradesIsZero) {
    EXPECT_EQ(last_of("TradeImbalance", {3}, {{buy(10, 0), sell(10, 0)}, {buy(11, 0)}}), 0.0);
    // (1 + 3 - 2) / 6 over the last three trades.
    EXPECT_EQ(last_of("TradeImbalance", {3}, {{sell(10, 9), buy(10, 1)}, {sell(10, 2), buy(10, 3)}}),
              (4.0 - 2.0) / 6.0);
    EXPECT_EQ(make("TradeImbalance", {3})->warmup_period(), 3u);
}

TEST(MultifeedTrades, PinOfThreeBuysAndASell) {
    EXPECT_EQ(last_of("Pin", {4}, {{buy(10, 1), buy(10, 1)}, {buy(10, 1), sell(10, 1)}}), 0.5);
    EXPECT_EQ(last_of("Pin", {4}, {{buy(10, 1), buy(10, 1), buy(10, 1)}}), std::nullopt);
}

TEST(MultifeedTrades, TradeSignAutocorrelationOfAlternatingAndConstantSigns) {
    EXPECT_EQ(last_of("TradeSignAutocorrelation", {4}, {{buy(1, 1), sell(1, 1), buy(1, 1), sell(1, 1)}}), -1.0);
    EXPECT_EQ(last_of("TradeSignAutocorrelation", {3}, {{sell(1, 1), sell(1, 1)}, {sell(1, 1)}}), 1.0);
}

TEST(MultifeedTrades, RollMeasureOfABidAskBounceAndOfTrendingPrices) {
    // Changes +1, -1, +1, -1: mean 0, autocovariance -3 / 3: 2 x sqrt(1).
    EXPECT_EQ(last_of("RollMeasure", {4}, {{buy(10, 1), buy(11, 1), buy(10, 1)}, {buy(11, 1), buy(10, 1)}}), 2.0);
    // Equal changes, and positively correlated ones, give 0.
    EXPECT_EQ(last_of("RollMeasure", {3}, {{buy(10, 1), buy(11, 1), buy(12, 1), buy(13, 1)}}), 0.0);
    EXPECT_EQ(last_of("RollMeasure", {3}, {{buy(10, 1), buy(11, 1), buy(13, 1), buy(16, 1)}}), 0.0);
    EXPECT_EQ(make("RollMeasure", {3})->warmup_period(), 4u);
}

TEST(MultifeedTrades, AmihudSkipsSizelessTradesAndStartsAfterTheFirstPrice) {
    auto ind = make("AmihudIlliquidity", {1});
    EXPECT_EQ(ind->warmup_period(), 2u);
    EXPECT_EQ(ind->update(with({buy(100, 1)})), std::nullopt);
    EXPECT_EQ(ind->update(with({buy(105, 0)})), std::nullopt);  // no result stored yet
    const double v = std::fabs(std::log(110.0 / 100.0)) / (110.0 * 2.0);
    EXPECT_EQ(ind->update(with({sell(110, 2)})), v);
    // A sizeless trade at the end of the bar returns the stored result unchanged.
    EXPECT_EQ(ind->update(with({sell(500, 0)})), v);
    const double w = std::fabs(std::log(99.0 / 110.0)) / (99.0 * 4.0);
    EXPECT_EQ(ind->update(with({buy(99, 4), buy(1, 0)})), w);
}

TEST(MultifeedTrades, VpinPoursVolumeIntoBuckets) {
    // One buy of 20 closes two buckets of imbalance 10: (10 + 10) / 20.
    EXPECT_EQ(last_of("Vpin", {10, 2}, {{buy(1, 20)}}), 1.0);
    // A buy of 5 and a sell of 5 close one balanced bucket.
    EXPECT_EQ(last_of("Vpin", {10, 1}, {{buy(1, 5), sell(1, 5)}}), 0.0);
    EXPECT_EQ(last_of("Vpin", {10, 2}, {{buy(1, 5), sell(1, 5)}}), std::nullopt);
    // A sizeless trade still yields the current value once the ring is full.
    EXPECT_EQ(last_of("Vpin", {10, 2}, {{buy(1, 20)}, {sell(1, 0)}}), 1.0);
    // Only what can still reach the window of a huge trade is poured.
    EXPECT_EQ(last_of("Vpin", {10, 2}, {{sell(1, 4), buy(1, 1e300)}}), 1.0);
    EXPECT_EQ(make("Vpin", {10, 2})->warmup_period(), 1u);
}
