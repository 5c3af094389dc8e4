#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"
#include "catalogue/params.hpp"

using namespace ostrel;

namespace {

using build_support::build_error;
const std::string& kMaxText = build_support::kMax;

}  // namespace

TEST(Catalogue, UnknownNames) {
    EXPECT_EQ(build_error("", {}), "unknown indicator type: ");
    EXPECT_EQ(build_error("sma", {20}), "unknown indicator type: sma");
    EXPECT_EQ(build_error(" Sma", {20}), "unknown indicator type:  Sma");
    EXPECT_EQ(build_error("Sma ", {20}), "unknown indicator type: Sma ");
    EXPECT_EQ(build_error("SMA", {20}), "unknown indicator type: SMA");
    EXPECT_EQ(build_error(std::string(27, 'A'), {}), "unknown indicator type: " + std::string(27, 'A'));
    EXPECT_EQ(build_error("AutocorrelationPeriodogramX", {}),
              "unknown indicator type: AutocorrelationPeriodogramX");
}

TEST(Catalogue, ReaderMessagesAndNumberTexts) {
    const std::string p = "invalid parameters for indicator Sma: ";
    EXPECT_EQ(build_error("Sma", {}), p + "missing parameter #0");
    EXPECT_EQ(build_error("Sma", {2.5}), p + "parameter #0 must be a positive integer, got 2.5");
    EXPECT_EQ(build_error("Sma", {0}), p + "parameter #0 must be a positive integer, got 0");
    EXPECT_EQ(build_error("Sma", {-3}), p + "parameter #0 must be a positive integer, got -3");
    EXPECT_EQ(build_error("Sma", {-0.0}), p + "parameter #0 must be a positive integer, got -0");
    EXPECT_EQ(build_error("Sma", {0.5}), p + "parameter #0 must be a positive integer, got 0.5");
    EXPECT_EQ(build_error("Sma", {2.0000000000000004}),
              p + "parameter #0 must be a positive integer, got 2.0000000000000004");
    EXPECT_EQ(build_error("Sma", {1.0000000000000002}), "built");
    EXPECT_EQ(build_error("Sma", {1e-20}), p + "period must be greater than zero");
    EXPECT_EQ(build_error("Sma", {std::numeric_limits<double>::infinity()}), p + "parameter #0 must be finite");
    EXPECT_EQ(build_error("Sma", {std::nan("")}), p + "parameter #0 must be finite");
    EXPECT_EQ(build_error("Sma", {16777217}), p + kMaxText);
    EXPECT_EQ(build_error("Sma", {1e300}), p + kMaxText);  // saturates, then the constructor refuses
    EXPECT_EQ(build_error("Sma", {16777216}), "built");
    EXPECT_EQ(build_error("Sma", {20, 99, std::nan("")}), "built");
    EXPECT_EQ(format_param_value(1e21), "1000000000000000000000");
    EXPECT_EQ(format_param_value(1e-20), "0.00000000000000000001");
    EXPECT_EQ(format_param_value(3.0), "3");
    EXPECT_EQ(format_param_value(-2.0), "-2");
    EXPECT_EQ(format_param_value(5e-324).size(), 326u);
}

TEST(Catalogue, IntegerReaderBounds) {
    auto i32 = [](double v) {
        std::vector<double> p{v};
        auto r = param_i32(p, 0, "K");
        return r ? std::to_string(*r) : r.error().reason;
    };
    auto u32 = [](double v) {
        std::vector<double> p{v};
        auto r = param_u32(p, 0, "K");
        return r ? std::to_string(*r) : r.error().reason;
    };
    EXPECT_EQ(i32(-2147483648.0), "-2147483648");
    EXPECT_EQ(i32(2147483647.0), "2147483647");
    EXPECT_EQ(i32(2147483648.0), "parameter #0 must be an i32, got 2147483648");
    EXPECT_EQ(i32(-2147483649.0), "parameter #0 must be an i32, got -2147483649");
    EXPECT_EQ(i32(-0.0), "0");
    EXPECT_EQ(i32(1e-20), "0");
    EXPECT_EQ(i32(0.5), "parameter #0 must be an i32, got 0.5");
    EXPECT_EQ(u32(0.0), "0");
    EXPECT_EQ(u32(-0.0), "0");
    EXPECT_EQ(u32(4294967295.0), "4294967295");
    EXPECT_EQ(u32(-1.0), "parameter #0 must be a u32, got -1");
    EXPECT_EQ(u32(-1e-20), "parameter #0 must be a u32, got -0.00000000000000000001");
    EXPECT_EQ(u32(4294967296.0), "parameter #0 must be a u32, got 4294967296");
    std::vector<double> big{1e300};
    EXPECT_EQ(*param_usize(big, 0, "K"), 18446744073709551615ULL);
    std::vector<double> two{3.0, 4.0};
    EXPECT_EQ(param_f64(two, 2, "K").error().reason, "missing parameter #2");
}

TEST(Catalogue, AliasesNameTheirKind) {
    // Both aliases resolve before any parameter is read, so errors name the kind.
    EXPECT_EQ(feed_for_kind("Macd"), std::nullopt);
    EXPECT_EQ(feed_for_kind("Bollinger"), std::nullopt);
    EXPECT_EQ(feed_for_kind("MacdIndicator"), Feed::Kline);
    EXPECT_EQ(feed_for_kind("BollingerBands"), Feed::Kline);
    auto r = build_indicator("Macd", std::vector<double>{12, std::nan(""), 9});
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().text, "MacdIndicator");
    auto b = build_indicator("Bollinger", std::vector<double>{});
    ASSERT_FALSE(b);
    EXPECT_EQ(b.error().text, "BollingerBands");
}

TEST(Catalogue, FeedMap) {
    EXPECT_EQ(kind_names().size(), 495u);
    EXPECT_EQ(feed_for_kind("Vpin"), Feed::Trade);
    EXPECT_EQ(feed_for_kind("QuotedSpread"), Feed::Orderbook);
    EXPECT_EQ(feed_for_kind("KylesLambda"), Feed::TradeQuote);
    EXPECT_EQ(feed_for_kind("FundingRate"), Feed::Derivatives);
    EXPECT_EQ(feed_for_kind("Trin"), Feed::CrossSection);
    EXPECT_EQ(feed_for_kind("Alpha"), Feed::Kline);
    EXPECT_EQ(feed_for_kind(""), std::nullopt);
    EXPECT_EQ(feed_for_kind("vpin"), std::nullopt);
    EXPECT_EQ(feed_for_kind("Vpin "), std::nullopt);
    EXPECT_EQ(feed_name(Feed::TradeQuote), "TradeQuote");
    EXPECT_EQ(feed_name(Feed::CrossSection), "CrossSection");
}

#include "indicators/trade_filter.hpp"

TEST(TradeFilter, SkipsTradesThatFailTheirCheck) {
    const double nan = std::nan("");
    std::vector<Trade> trades{{0.0, 1, 0, false}, {10, -1, 0, false}, {nan, 1, 0, true},
                              {11, 0.0, 0, true}, {12, nan, 0, false}, {13, 2, 0, false}};
    EXPECT_EQ(validate_trade(trades[0])->display(), "invalid trade: trade price must be finite and positive");
    EXPECT_EQ(validate_trade(trades[1])->display(), "invalid trade: trade size must be finite and non-negative");
    EXPECT_EQ(validate_trade(trades[4])->display(), "invalid trade: trade size must be finite and non-negative");
    std::size_t pos = 0;
    const Trade* t = next_valid_trade(trades, pos);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->price, 11);  // a zero size is allowed
    t = next_valid_trade(trades, pos);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->price, 13);
    EXPECT_EQ(next_valid_trade(trades, pos), nullptr);
}
