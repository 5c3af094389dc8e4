// The texts of the candle checks, in their order, and of the eleven construction
// error variants.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "indicators/indicator.hpp"

using namespace ostrel;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(CandleChecks, OrderAndTexts) {
    auto text = [](Candle c) {
        auto e = c.validate();
        return e ? e->display() : std::string("ok");
    };
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, 10}), "ok");
    EXPECT_EQ(text({0, kNaN, 2, 0.5, 1.5, 10}), "invalid candle: open, high, low, close must all be finite");
    EXPECT_EQ(text({0, 1, 2, 0.5, kInf, 10}), "invalid candle: open, high, low, close must all be finite");
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, kInf}), "invalid candle: volume must be finite");
    // high below low and a negative volume: the volume check comes first
    EXPECT_EQ(text({0, 1, 0.5, 2, 1, -1}), "invalid candle: volume must be non-negative");
    EXPECT_EQ(text({0, 1, 2, 0.5, 1.5, -0.0}), "ok");
    EXPECT_EQ(text({0, 1, 0.5, 2, 1, 0}), "invalid candle: high must be >= low");
    EXPECT_EQ(text({0, 3, 2, 0.5, 1.5, 0}), "invalid candle: high must be >= open and >= close");
    EXPECT_EQ(text({0, 1, 2, 0.5, 0.4, 0}), "invalid candle: low must be <= open and <= close");
}

TEST(IndicatorErrorText, AllElevenVariants) {
    using K = IndicatorError::Kind;
    EXPECT_EQ((IndicatorError{K::ZeroPeriod, ""}).display(), "period must be greater than zero");
    EXPECT_EQ(IndicatorError::too_long().display(),
              "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)");
    EXPECT_EQ((IndicatorError{K::NonFiniteInput, ""}).display(), "input value must be finite (got NaN or infinity)");
    EXPECT_EQ((IndicatorError{K::InvalidCandle, "x"}).display(), "invalid candle: x");
    EXPECT_EQ((IndicatorError{K::InvalidTick, "x"}).display(), "invalid tick: x");
    EXPECT_EQ((IndicatorError{K::NonPositiveMultiplier, ""}).display(), "multiplier must be greater than zero");
    EXPECT_EQ((IndicatorError{K::InvalidOrderBook, "x"}).display(), "invalid order book: x");
    EXPECT_EQ((IndicatorError{K::InvalidTrade, "x"}).display(), "invalid trade: x");
    EXPECT_EQ((IndicatorError{K::InvalidDerivativesTick, "x"}).display(), "invalid derivatives tick: x");
    EXPECT_EQ((IndicatorError{K::InvalidCrossSection, "x"}).display(), "invalid cross-section: x");
    EXPECT_EQ((IndicatorError{K::InvalidParameter, "x"}).display(), "invalid parameter: x");
}

TEST(IndicatorErrorText, EqualityAndValuesOutsideTheEnumerations) {
    EXPECT_TRUE(IndicatorError::too_long() ==
                IndicatorError::invalid_period("period exceeds the maximum supported window length (see MAX_PERIOD)"));
    EXPECT_FALSE(IndicatorError::too_long() == IndicatorError::invalid_period("other"));
    EXPECT_FALSE(IndicatorError::zero_period() == IndicatorError::non_positive_multiplier());
    // A value outside the enumerations (a corrupted byte) has no text rather than a crash.
    EXPECT_EQ((IndicatorError{static_cast<IndicatorError::Kind>(11), "x"}).display(), "");
    EXPECT_EQ(feed_name(static_cast<Feed>(6)), "");
}
