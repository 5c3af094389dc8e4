// Construction of the multi-feed kinds through the catalogue: every check's text and
// order, the size guards, parameterless entries, warm-up lengths, and the pair
// window state shared with a candle kind.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"
#include "indicators/core/rolling_pair_sums.hpp"

using namespace ostrel;

namespace {

using build_support::kMax;
using build_support::kZero;
constexpr double kTooLong = 16777217.0;
constexpr double kZeroUsize = 1e-20;  // passes the usize reader as 0

using build_support::build_error;
auto& failure = build_support::params_error;

struct ErrorCase {
    const char* kind;
    std::vector<double> params;
    std::string reason;  // "built" for a successful build
};

void check(const ErrorCase& c) {
    const std::string got = build_error(c.kind, c.params);
    if (c.reason == "built")
        EXPECT_EQ(got, "built") << c.kind;
    else
        EXPECT_EQ(got, failure(c.kind, c.reason)) << c.kind;
}

}  // namespace

TEST(MultifeedConstruction, MinimumWindowLengthsThenMaxPeriod) {
    const ErrorCase cases[] = {
        {"Alpha", {1, 0}, "invalid period: alpha needs period >= 2"},
        {"Alpha", {kZeroUsize, 0}, "invalid period: alpha needs period >= 2"},
        {"Alpha", {kTooLong, 0}, kMax},
        {"Alpha", {2, -3.5}, "built"},
        {"Beta", {1}, "invalid period: beta needs period >= 2"},
        {"Beta", {kTooLong}, kMax},
        {"BetaNeutralSpread", {1}, "invalid period: beta-neutral spread needs period >= 2"},
        {"BetaNeutralSpread", {kTooLong}, kMax},
        {"TreynorRatio", {1, 0.02}, "invalid period: treynor ratio needs period >= 2"},
        {"TreynorRatio", {kTooLong, 0}, kMax},
        {"TreynorRatio", {2, 0}, "built"},
        {"InformationRatio", {1}, "invalid period: information ratio needs period >= 2"},
        {"InformationRatio", {kTooLong}, kMax},
        {"PairwiseBeta", {1}, "invalid period: pairwise beta needs period >= 2"},
        {"PairwiseBeta", {kTooLong}, kMax},
        {"RollingCovariance", {1}, "invalid period: rolling covariance needs period >= 2"},
        {"RollingCovariance", {kTooLong}, kMax},
        {"RollingCorrelation", {1}, "invalid period: rolling correlation needs period >= 2"},
        {"RollingCorrelation", {kTooLong}, kMax},
        {"PearsonCorrelation", {1}, "invalid period: pearson correlation needs period >= 2"},
        {"PearsonCorrelation", {kTooLong}, kMax},
        {"DistanceSsd", {1}, "invalid period: distance SSD needs period >= 2"},
        {"DistanceSsd", {kTooLong}, kMax},
        {"KendallTau", {1}, "invalid period: Kendall tau needs period >= 2"},
        {"KendallTau", {kTooLong}, kMax},
        {"SpearmanCorrelation", {1}, "invalid period: spearman correlation needs period >= 2"},
        {"SpearmanCorrelation", {kTooLong}, kMax},
        {"SpreadAr1Coefficient", {2}, "invalid period: AR(1) spread coefficient needs period >= 3"},
        {"SpreadAr1Coefficient", {kTooLong}, kMax},
        {"SpreadAr1Coefficient", {3}, "built"},
        {"OuHalfLife", {2}, "invalid period: OU half-life needs period >= 3"},
        {"OuHalfLife", {kTooLong}, kMax},
        {"SpreadHurst", {7}, "invalid period: spread Hurst needs period >= 8"},
        {"SpreadHurst", {kTooLong}, kMax},
        {"SpreadHurst", {8}, "built"},
        {"HasbrouckInformationShare", {5}, "invalid period: information share needs period >= 6"},
        {"HasbrouckInformationShare", {kTooLong}, kMax},
        {"TradeSignAutocorrelation", {1}, "invalid period: trade-sign autocorrelation needs period >= 2"},
        {"TradeSignAutocorrelation", {kTooLong}, kMax},
        {"RollMeasure", {2}, "invalid period: Roll measure needs period >= 3"},
        {"RollMeasure", {kTooLong}, kMax},
        {"KylesLambda", {1}, "invalid period: kyle's lambda needs window >= 2"},
        {"KylesLambda", {kTooLong}, kMax},
    };
    for (const ErrorCase& c : cases) check(c);
}

TEST(MultifeedConstruction, CommonPeriodChecks) {
    for (const char* kind : {"FundingRateMean", "FundingRateZScore", "OIPriceDivergence", "OpenInterestMomentum",
                             "TradeImbalance", "Pin", "AmihudIlliquidity", "OrderFlowImbalance", "RealizedSpread",
                             "BreadthThrust", "HighLowIndex", "OrderBookImbalanceTopN"}) {
        check({kind, {kZeroUsize}, kZero});
        check({kind, {kTooLong}, kMax});
        check({kind, {1}, "built"});
    }
    // The book depth is a count, not a window: the largest one allocates nothing.
    check({"OrderBookImbalanceTopN", {16777216}, "built"});
    check({"OrderBookImbalanceTopN", {}, "missing parameter #0"});
}

TEST(MultifeedConstruction, KindsWithTwoParametersCheckInOrder) {
    const ErrorCase cases[] = {
        {"PairSpreadZScore", {1, 1}, "invalid period: pair spread z-score needs beta_period >= 2"},
        {"PairSpreadZScore", {kTooLong, 1}, kMax},
        {"PairSpreadZScore", {5, 1}, "invalid period: pair spread z-score needs z_period >= 2"},
        {"PairSpreadZScore", {5, kTooLong}, kMax},
        {"PairSpreadZScore", {2, 2}, "built"},
        {"SpreadBollingerBands", {1, 0}, "invalid period: spread bollinger bands needs period >= 2"},
        {"SpreadBollingerBands", {kTooLong, 0}, kMax},
        {"SpreadBollingerBands", {5, 0}, "invalid parameter: spread bollinger bands needs num_std > 0"},
        {"SpreadBollingerBands", {5, -2}, "invalid parameter: spread bollinger bands needs num_std > 0"},
        {"SpreadBollingerBands", {5, 0.1}, "built"},
        {"VarianceRatio", {10, 1}, "invalid period: variance ratio needs q >= 2"},
        {"VarianceRatio", {10, kTooLong}, kMax},
        {"VarianceRatio", {4, 3}, "invalid period: variance ratio needs period >= q + 2"},
        {"VarianceRatio", {5, 3}, "built"},
        {"RelativeStrengthAB", {kZeroUsize, kZeroUsize}, kZero},
        {"RelativeStrengthAB", {kTooLong, kZeroUsize}, kMax},
        {"RelativeStrengthAB", {5, kZeroUsize}, kZero},  // from the inner RSI
        {"RelativeStrengthAB", {5, kTooLong}, kMax},
        {"RelativeStrengthAB", {1, 1}, "built"},
        {"Cointegration", {5, 1}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        {"Cointegration", {kZeroUsize, kZeroUsize}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        {"Cointegration", {6, 1}, "built"},
        {"Cointegration", {4, kZeroUsize}, "built"},
        {"GrangerCausality", {10, kZeroUsize}, "invalid period: granger causality needs lag >= 1"},
        {"GrangerCausality", {1e9, kTooLong}, kMax},
        {"GrangerCausality", {7, 2}, "invalid period: granger causality needs period >= 3*lag + 2"},
        {"GrangerCausality", {8, 2}, "built"},
        {"LeadLagCrossCorrelation", {1, 1}, "invalid period: lead-lag cross-correlation needs window >= 2"},
        {"LeadLagCrossCorrelation", {kTooLong, kZeroUsize}, kMax},
        {"LeadLagCrossCorrelation", {5, kZeroUsize}, "invalid period: lead-lag cross-correlation needs max_lag >= 1"},
        {"LeadLagCrossCorrelation", {2, 1}, "built"},
        {"Vpin", {kZeroUsize, kZeroUsize}, kZero},  // buckets are checked first
        {"Vpin", {-1, kTooLong}, kMax},
        {"Vpin", {0, 5}, "invalid parameter: VPIN bucket_volume must be finite and positive"},
        {"Vpin", {-1000.5, 5}, "invalid parameter: VPIN bucket_volume must be finite and positive"},
        {"Vpin", {1000.5, 50}, "built"},
        {"Vpin", {1000.5, 50.5}, "parameter #1 must be a positive integer, got 50.5"},
        {"Vpin", {std::numeric_limits<double>::infinity(), 5}, "parameter #0 must be finite"},
    };
    for (const ErrorCase& c : cases) check(c);
}

TEST(MultifeedConstruction, EntriesThatCheckFloatParameters) {
    const ErrorCase cases[] = {
        {"KalmanHedgeRatio", {1, 0.001}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {"KalmanHedgeRatio", {0, 1}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {"KalmanHedgeRatio", {-0.5, -1}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {"KalmanHedgeRatio", {0.0001, 0}, "invalid parameter: kalman hedge ratio needs observation_var > 0"},
        {"KalmanHedgeRatio", {0.5, -1}, "invalid parameter: kalman hedge ratio needs observation_var > 0"},
        {"KalmanHedgeRatio", {0.5, 1}, "built"},
        {"KalmanHedgeRatio", {0.5}, "missing parameter #1"},
        {"FundingImpliedApr", {0}, "invalid parameter: intervals_per_year must be finite and positive"},
        {"FundingImpliedApr", {-3}, "invalid parameter: intervals_per_year must be finite and positive"},
        {"FundingImpliedApr", {1095}, "built"},
        {"FundingImpliedApr", {0.5}, "built"},
        {"Alpha", {5}, "missing parameter #1"},
        {"TreynorRatio", {5, std::nan("")}, "parameter #1 must be finite"},
    };
    for (const ErrorCase& c : cases) check(c);
}

TEST(MultifeedConstruction, SizesThatCannotBeAllocatedAreRefusedWithoutWrapping) {
    const ErrorCase cases[] = {
        // A lag count whose 2 x adf_lags + 4 would wrap still fails the kind's check.
        {"Cointegration", {100, 1e19}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        {"Cointegration", {100, 9223372036854775807.0}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        // Windows, and the normal equations of (lags + 1)^2 or (2 lag + 1)^2 values,
        // are bounded by MAX_PERIOD after the kind's own checks.
        {"Cointegration", {kTooLong, 1}, kMax},
        {"Cointegration", {10000, 4096}, kMax},
        {"GrangerCausality", {kTooLong, 1}, kMax},
        {"GrangerCausality", {10000, 2048}, kMax},
        {"VarianceRatio", {kTooLong, 2}, kMax},
        {"VarianceRatio", {1e18, 2}, kMax},
        {"LeadLagCrossCorrelation", {5, 1e19}, kMax},
        {"LeadLagCrossCorrelation", {16777216, 1}, kMax},
    };
    for (const ErrorCase& c : cases) check(c);
}

TEST(MultifeedConstruction, ParameterlessEntriesTakeAnyList) {
    const char* kinds[] = {"EstimatedLeverageRatio", "CalendarSpread", "FundingBasis", "FundingRate",
                           "LiquidationFeatures", "LongShortRatio", "OIWeighted", "OiToVolumeRatio",
                           "OpenInterestDelta", "PerpetualPremiumIndex", "TakerBuySellRatio", "TermStructureBasis",
                           "AbsoluteBreadthIndex", "AdVolumeLine", "AdvanceDecline", "AdvanceDeclineRatio",
                           "BullishPercentIndex", "CumulativeVolumeIndex", "McClellanOscillator",
                           "McClellanSummationIndex", "NewHighsNewLows", "PercentAboveMa", "TickIndex", "Trin",
                           "UpDownVolumeRatio", "CumulativeVolumeDelta", "SignedVolume", "DepthSlope", "Microprice",
                           "OrderBookImbalanceFull", "OrderBookImbalanceTop1", "QuotedSpread", "EffectiveSpread"};
    EXPECT_EQ(std::size(kinds), 33u);
    for (const char* kind : kinds) {
        for (const std::vector<double>& params :
             {std::vector<double>{}, std::vector<double>{5, 6, 7}, std::vector<double>{std::nan(""), -1}}) {
            auto r = build_indicator(kind, params);
            ASSERT_TRUE(r) << kind;
            EXPECT_EQ((*r)->warmup_period(), std::string_view(kind) == "OpenInterestDelta" ? 2u : 1u) << kind;
            EXPECT_TRUE((*r)->outputs().empty()) << kind;
        }
    }
}

TEST(MultifeedConstruction, WarmupLengths) {
    struct Warmup {
        const char* kind;
        std::vector<double> params;
        std::size_t warmup;
    };
    const Warmup cases[] = {
        {"Alpha", {7, 0}, 7}, {"PairwiseBeta", {7}, 8}, {"RollingCovariance", {7}, 8},
        {"RollingCorrelation", {7}, 8}, {"KendallTau", {7}, 7}, {"PairSpreadZScore", {6, 4}, 9},
        {"RelativeStrengthAB", {5, 9}, 10}, {"RelativeStrengthAB", {12, 9}, 12}, {"VarianceRatio", {9, 3}, 9},
        {"Cointegration", {10, 2}, 10}, {"KalmanHedgeRatio", {0.1, 1}, 1}, {"LeadLagCrossCorrelation", {5, 3}, 11},
        {"GrangerCausality", {11, 3}, 11}, {"HasbrouckInformationShare", {6}, 8}, {"FundingImpliedApr", {3}, 1},
        {"FundingRateMean", {4}, 4}, {"FundingRateZScore", {4}, 4}, {"OIPriceDivergence", {4}, 5},
        {"OpenInterestMomentum", {4}, 5}, {"TradeImbalance", {4}, 4}, {"Pin", {4}, 4},
        {"TradeSignAutocorrelation", {4}, 4}, {"RollMeasure", {4}, 5}, {"AmihudIlliquidity", {4}, 5},
        {"Vpin", {10, 4}, 1}, {"OrderBookImbalanceTopN", {4}, 1}, {"OrderFlowImbalance", {4}, 5},
        {"RealizedSpread", {4}, 5}, {"KylesLambda", {4}, 5}, {"BreadthThrust", {4}, 4}, {"HighLowIndex", {4}, 4},
    };
    for (const Warmup& w : cases) {
        auto r = build_indicator(w.kind, w.params);
        ASSERT_TRUE(r) << w.kind;
        EXPECT_EQ((*r)->warmup_period(), w.warmup) << w.kind;
    }
}

TEST(MultifeedConstruction, FeedsOfTheMultiFeedKinds) {
    EXPECT_EQ(feed_for_kind("Vpin"), Feed::Trade);
    EXPECT_EQ(feed_for_kind("QuotedSpread"), Feed::Orderbook);
    EXPECT_EQ(feed_for_kind("KylesLambda"), Feed::TradeQuote);
    EXPECT_EQ(feed_for_kind("FundingRate"), Feed::Derivatives);
    EXPECT_EQ(feed_for_kind("Trin"), Feed::CrossSection);
    EXPECT_EQ(feed_for_kind("Alpha"), Feed::Kline);
    EXPECT_EQ(feed_for_kind("EstimatedLeverageRatio"), Feed::Kline);
}

TEST(RollingPairSums, BothSlideOrdersKeepTheLastPeriodPairs) {
    EXPECT_EQ(core::RollingPairSums::make(0).error().display(), kZero);
    EXPECT_EQ(core::RollingPairSums::make(MAX_PERIOD + 1).error().display(), kMax);
    auto first = *core::RollingPairSums::make(2);
    auto after = *core::RollingPairSums::make(2);
    const double a[] = {1e16, 1.0, 3.0, 5.0};
    for (double v : a) {
        first.replace_then_add(v, -v);
        after.add_then_replace(v, -v);
    }
    EXPECT_TRUE(first.full());
    EXPECT_TRUE(after.full());
    EXPECT_EQ(after.period(), 2u);
    // By hand. Dropping first: 1e16 + 1 rounds to 1e16, the 1 is lost, then
    // (1e16 - 1e16) + 3 = 3, (3 - 1) + 5 = 7. Adding first: (1e16 + 3) rounds to
    // 1e16 + 4, less 1e16 gives 4, then (4 + 5) - 1 = 8.
    EXPECT_EQ(first.sum_a(), 7.0);
    EXPECT_EQ(first.sum_b(), -7.0);
    EXPECT_EQ(after.sum_a(), 8.0);
    EXPECT_EQ(after.sum_b(), -8.0);
}
