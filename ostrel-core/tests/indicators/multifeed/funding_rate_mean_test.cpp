// FundingRateMean refuses a non-finite funding rate the way it treats a bar without
// a derivatives record: no value, and the window and sums stay as they were.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<Indicator> mean_of(double period) {
    auto r = build_indicator("FundingRateMean", std::vector<double>{period});
    EXPECT_TRUE(r.has_value());
    return std::move(*r);
}

std::optional<double> feed(Indicator& ind, double rate) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = 100.0;
    DerivativesTick d;
    d.funding_rate = rate;
    s.derivatives = d;
    return ind.update(s);
}

TEST(FundingRateMean, NonFiniteRateGivesNothingAndLeavesTheWindow) {
    auto m = mean_of(3);
    EXPECT_FALSE(feed(*m, 0.25));
    EXPECT_FALSE(feed(*m, kNaN));
    EXPECT_FALSE(feed(*m, 0.5));
    EXPECT_FALSE(feed(*m, kInf));
    EXPECT_EQ(feed(*m, 0.75), 0.5);  // (0.25 + 0.5 + 0.75) / 3; neither NaN nor inf counted
    EXPECT_FALSE(feed(*m, -kInf));
    EXPECT_EQ(feed(*m, 1.0), 0.75);  // (0.5 + 0.75 + 1) / 3
    EXPECT_EQ(m->warmup_period(), 3u);
}

// Over many records, through the periodic exact re-summing, a series with non-finite
// rates mixed in gives bit for bit the values of the same series without them.
TEST(FundingRateMean, MixedInNonFiniteRatesChangeNoLaterValue) {
    for (double period : {1.0, 4.0, 7.0}) {
        auto clean = mean_of(period);
        auto mixed = mean_of(period);
        std::uint64_t s = 99;
        for (int i = 0; i < 400; ++i) {
            s = s * 6364136223846793005ull + 1442695040888963407ull;
            const double rate = (static_cast<double>(s >> 11) * 0x1.0p-53 - 0.5) * 0.001;
            if (i % 5 == 2) EXPECT_FALSE(feed(*mixed, i % 3 == 0 ? kNaN : (i % 3 == 1 ? kInf : -kInf)));
            const auto a = feed(*clean, rate);
            const auto b = feed(*mixed, rate);
            ASSERT_EQ(a.has_value(), b.has_value()) << "record " << i;
            if (a) ASSERT_EQ(std::bit_cast<std::uint64_t>(*a), std::bit_cast<std::uint64_t>(*b)) << "record " << i;
        }
    }
}

}  // namespace
