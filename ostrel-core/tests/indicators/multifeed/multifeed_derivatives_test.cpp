// Derivatives kinds fed hand-built derivatives records: each value checked against
// numbers worked out by hand or, for the windowed funding kinds, by an independent
// model of their stated order of operations (pasted below).
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

// Funding rates of 20 records; the mean over 3 and the z-score over 4.
const std::vector<double> kRates = {-9.07e-05, -0.0001459, 0.0002603, -0.0001949, 0.0004613, -3.42e-05, -0.0003251, -0.0001877, 0.0004643, -0.0002339, -0.0001914, 0.0001376, 0.0003268, 0.0004074, 0.000484, 0.0004376, -0.0004411, -0.0002562, 6.48e-05, -0.0004392};
const Series kMean3 = {N, N, 7.899999999999994e-06, -2.683333333333334e-05, 0.00017556666666666666, 7.74e-05, 3.4000000000000007e-05, -0.0001823333333333333, -1.6166666666666652e-05, 1.4233333333333353e-05, 1.3000000000000026e-05, -9.59e-05, 9.099999999999999e-05, 0.00029059999999999996, 0.00040606666666666665, 0.00044300000000000003, 0.0001601666666666667, -8.656666666666664e-05, -0.0002108333333333333, -0.00021019999999999993};
const Series kZ4 = {N, N, N, -0.8505039534001251, 1.3289147544768698, -0.61818557309402, -1.012618942290471, -0.5596767965273245, 1.6257412599874033, -0.5221307360403277, -0.5316357211367367, 0.3314045819437695, 1.3620752400538094, 1.0292984617558398, 1.1256847057383443, 0.4131934217701922, -1.7276688241510156, -0.7610920307825524, 0.33982669600853116, -0.8303953094851084};
std::unique_ptr<Indicator> make(std::string_view kind, const std::vector<double>& params) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

FeedSnapshot with(const DerivativesTick& d) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = 100.0;
    s.derivatives = d;
    return s;
}

// A snapshot carrying every feed but the derivatives record.
FeedSnapshot without() {
    static const std::vector<Trade> trades{{100.0, 1.0, 0, false}};
    static const OrderBook book{{{99.0, 1.0}}, {{101.0, 1.0}}};
    static const std::vector<CrossSectionEntry> cross{{1.0, 1.0, true, false, true, true}};
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = 100.0;
    s.reference = 50.0;
    s.trades = trades;
    s.order_book = &book;
    s.cross_section = &cross;
    return s;
}

DerivativesTick tick(double funding, double mark, double index, double futures, double oi) {
    DerivativesTick d;
    d.funding_rate = funding;
    d.mark_price = mark;
    d.index_price = index;
    d.futures_price = futures;
    d.open_interest = oi;
    return d;
}

std::optional<double> once(std::string_view kind, const DerivativesTick& d, const std::vector<double>& params = {}) {
    auto ind = make(kind, params);
    return ind ? ind->update(with(d)) : std::nullopt;
}

double output(const Indicator& ind, std::string_view name) {
    for (const NamedOutput& o : ind.outputs())
        if (o.name == name) return o.value;
    ADD_FAILURE() << "no output " << name;
    return std::nan("");
}

const char* const kAllDerivatives[] = {
    "CalendarSpread", "FundingBasis", "FundingImpliedApr", "FundingRate", "FundingRateMean", "FundingRateZScore",
    "LiquidationFeatures", "LongShortRatio", "OIPriceDivergence", "OIWeighted", "OiToVolumeRatio",
    "OpenInterestDelta", "OpenInterestMomentum", "PerpetualPremiumIndex", "TakerBuySellRatio",
    "TermStructureBasis"};

std::vector<double> params_of(std::string_view kind) {
    if (kind == "FundingImpliedApr") return {1095};
    if (kind == "FundingRateMean" || kind == "FundingRateZScore" || kind == "OIPriceDivergence" ||
        kind == "OpenInterestMomentum")
        return {2};
    return {};
}

}  // namespace

TEST(MultifeedDerivatives, RecordOnlyKindsReadTheRecord) {
    const DerivativesTick d = tick(0.0001, 102.0, 100.0, 105.0, 0.0);
    EXPECT_EQ(once("FundingRate", d), 0.0001);
    EXPECT_EQ(once("FundingImpliedApr", d, {1095}), 0.0001 * 1095.0);
    EXPECT_EQ(once("FundingBasis", d), 0.02);
    EXPECT_EQ(once("PerpetualPremiumIndex", d), 0.02);
    EXPECT_EQ(once("CalendarSpread", d), 3.0 / 102.0);
    EXPECT_EQ(once("TermStructureBasis", d), 0.05);
    // No guard on a zero index or mark.
    EXPECT_EQ(once("FundingBasis", tick(0, 1, 0, 0, 0)), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(*once("CalendarSpread", tick(0, 0, 0, 0, 0))));
    EXPECT_TRUE(std::isnan(*once("PerpetualPremiumIndex", tick(0, 0, 0, 0, 0))));
    EXPECT_EQ(once("TermStructureBasis", tick(0, 0, 0, -2, 0)), -std::numeric_limits<double>::infinity());
}

TEST(MultifeedDerivatives, RatiosGuardTheirDivisors) {
    DerivativesTick d;
    d.long_positions = 6;
    d.short_positions = 4;
    d.taker_buy_volume = 3;
    d.taker_sell_volume = 1;
    d.open_interest = 10;
    EXPECT_EQ(once("LongShortRatio", d), 1.5);
    EXPECT_EQ(once("TakerBuySellRatio", d), 3.0);
    EXPECT_EQ(once("OiToVolumeRatio", d), 2.5);
    d.short_positions = 0;
    d.taker_sell_volume = 0;
    EXPECT_EQ(once("LongShortRatio", d), 0.0);
    EXPECT_EQ(once("TakerBuySellRatio", d), 0.0);
    d.taker_buy_volume = -1;  // a total of -1 is not above 0
    EXPECT_EQ(once("OiToVolumeRatio", d), 0.0);
    d.taker_buy_volume = 0;
    EXPECT_EQ(once("OiToVolumeRatio", d), 0.0);
}

TEST(MultifeedDerivatives, LiquidationFeaturesStoresFiveOutputs) {
    auto ind = make("LiquidationFeatures", {});
    EXPECT_TRUE(ind->outputs().empty());
    DerivativesTick d;
    d.long_liquidations = 30;
    d.short_liquidations = 10;
    EXPECT_EQ(ind->update(with(d)), 30.0);
    const char* names[] = {"long", "short", "net", "total", "imbalance"};
    const double values[] = {30, 10, 20, 40, 0.5};
    ASSERT_EQ(ind->outputs().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(ind->outputs()[i].name, names[i]);
        EXPECT_EQ(ind->outputs()[i].value, values[i]);
    }
    // Without a record the list stays; with a zero total the imbalance is 0.
    EXPECT_FALSE(ind->update(without()));
    EXPECT_EQ(output(*ind, "total"), 40.0);
    EXPECT_EQ(ind->update(with(DerivativesTick{})), 0.0);
    EXPECT_EQ(output(*ind, "imbalance"), 0.0);
}

TEST(MultifeedDerivatives, OpenInterestDeltaStartsOnItsSecondRecord) {
    auto ind = make("OpenInterestDelta", {});
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 100))), std::nullopt);
    EXPECT_EQ(ind->update(without()), std::nullopt);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 130))), 30.0);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 125))), -5.0);
    EXPECT_EQ(ind->warmup_period(), 2u);
}

TEST(MultifeedDerivatives, OIWeightedFallsBackToTheMarkWhileNoInterestIsSeen) {
    auto ind = make("OIWeighted", {});
    EXPECT_EQ(ind->update(with(tick(0, 50, 0, 0, 0))), 50.0);
    EXPECT_EQ(ind->update(with(tick(0, 51, 0, 0, 0))), 51.0);
    EXPECT_EQ(ind->update(with(tick(0, 60, 0, 0, 2))), 60.0);
    EXPECT_EQ(ind->update(without()), std::nullopt);
    // (2 x 60 + 6 x 68) / 8 = 66
    EXPECT_EQ(ind->update(with(tick(0, 68, 0, 0, 6))), 66.0);
    // Interest that sums back to 0 gives the mark again.
    EXPECT_EQ(ind->update(with(tick(0, 70, 0, 0, -8))), 70.0);
}

TEST(MultifeedDerivatives, OIPriceDivergenceComparesWithTheRecordPeriodBack) {
    auto ind = make("OIPriceDivergence", {1});
    EXPECT_EQ(ind->update(with(tick(0, 100, 0, 0, 200))), std::nullopt);
    // oi +10%, price +25%
    EXPECT_EQ(ind->update(with(tick(0, 125, 0, 0, 220))), 0.1 - 0.25);
    EXPECT_EQ(ind->update(without()), std::nullopt);
    EXPECT_EQ(ind->update(with(tick(0, 100, 0, 0, 0))), -1.0 - (-0.2));
    // An oldest open interest of 0 makes its change 0.
    EXPECT_EQ(ind->update(with(tick(0, 150, 0, 0, 40))), 0.0 - 0.5);
    auto two = make("OIPriceDivergence", {2});
    EXPECT_EQ(two->warmup_period(), 3u);
    two->update(with(tick(0, 10, 0, 0, 10)));
    EXPECT_EQ(two->update(with(tick(0, 11, 0, 0, 11))), std::nullopt);
    EXPECT_EQ(two->update(with(tick(0, 20, 0, 0, 15))), 0.5 - 1.0);
}

TEST(MultifeedDerivatives, OpenInterestMomentumNeedsAPositiveBase) {
    auto ind = make("OpenInterestMomentum", {2});
    EXPECT_EQ(ind->warmup_period(), 3u);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 80))), std::nullopt);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 0))), std::nullopt);
    EXPECT_EQ(ind->update(without()), std::nullopt);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 100))), 25.0);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 7))), 0.0);      // base 0
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, -3))), -103.0);  // base 100
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 1))), 100.0 * (1.0 - 7.0) / 7.0);
    EXPECT_EQ(ind->update(with(tick(0, 0, 0, 0, 5))), 0.0);      // base -3
}

TEST(MultifeedDerivatives, FundingRateMeanAddsBeforeItDropsAndResumsTheWholeWindow) {
    // The pasted means come from the literal order (append, add, resum over the
    // window with the leaving rate still in it, then subtract that rate); the other
    // order of a rolling sum gives different bits on 7 of these 20 records.
    auto ind = make("FundingRateMean", {3});
    for (std::size_t i = 0; i < kRates.size(); ++i)
        EXPECT_EQ(ind->update(with(tick(kRates[i], 0, 0, 0, 0))), kMean3[i]) << "record " << i;
    EXPECT_EQ(ind->warmup_period(), 3u);
}

TEST(MultifeedDerivatives, FundingRateZScoreMatchesTheModel) {
    auto ind = make("FundingRateZScore", {4});
    for (std::size_t i = 0; i < kRates.size(); ++i)
        EXPECT_EQ(ind->update(with(tick(kRates[i], 0, 0, 0, 0))), kZ4[i]) << "record " << i;
    auto flat = make("FundingRateZScore", {3});
    for (int i = 0; i < 5; ++i) flat->update(with(tick(0.0003, 0, 0, 0, 0)));
    EXPECT_EQ(flat->update(with(tick(0.0003, 0, 0, 0, 0))), 0.0);
}

TEST(MultifeedDerivatives, ARecordlessBarGivesNothingAndChangesNothing) {
    for (const char* kind : kAllDerivatives) {
        auto clean = make(kind, params_of(kind));
        auto noisy = make(kind, params_of(kind));
        ASSERT_TRUE(clean && noisy);
        for (std::size_t i = 0; i < kRates.size(); ++i) {
            const double k = static_cast<double>(i);
            DerivativesTick d = tick(kRates[i], 100.0 + k, 99.0 + 0.5 * k, 101.0 - 0.25 * k, 1000.0 + 37.0 * (i % 5));
            d.long_positions = 3.0 + (i % 4);
            d.short_positions = 2.0 + (i % 3);
            d.taker_buy_volume = 5.0 + k;
            d.taker_sell_volume = 4.0 + (i % 2);
            d.long_liquidations = 1.0 + k;
            d.short_liquidations = 2.0;
            if (i % 3 == 1) EXPECT_FALSE(noisy->update(without())) << kind;
            EXPECT_EQ(noisy->update(with(d)), clean->update(with(d))) << kind << " record " << i;
            ASSERT_EQ(noisy->outputs().size(), clean->outputs().size());
            for (std::size_t j = 0; j < clean->outputs().size(); ++j)
                EXPECT_EQ(noisy->outputs()[j].value, clean->outputs()[j].value) << kind;
        }
    }
}
