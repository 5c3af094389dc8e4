#include <gtest/gtest.h>

#include <string>

#include "strategy/spec.hpp"

using namespace ostrel;

namespace {

using K = Condition::Kind;

Operand R(const char* key) { return Operand::reference(key); }
Operand C(double v) { return Operand::value(v); }

Condition uses(const char* key) { return Condition::compare(K::Gt, R(key), C(50)); }

StrategySpec base() {
    StrategySpec s;
    s.symbol = "BTCUSDT";
    s.timeframe = "1h";
    s.indicators["rsi"] = IndicatorSpec{"Rsi", {14}, std::nullopt};
    s.entry = uses("rsi");
    s.exit = Condition::compare(K::Lt, R("rsi"), C(30));
    s.sizing = Sizing::fixed_fraction(0.5);
    return s;
}

std::string check(const StrategySpec& s) {
    auto e = s.validate();
    return e ? e->display() : "ok";
}

const std::string kSpec = "invalid strategy spec: ";
const std::string kUndeclared = "rule references undeclared indicator: ";
const std::string kRiskText =
    "sizing risk_per_trade requires risk.stop_loss_pct: the position size is" + std::string(18, ' ') +
    "derived from the distance to the stop";
const std::string kStopLimitText =
    "stop_limit order_type requires both execution.stop_offset_pct and" + std::string(22, ' ') +
    "execution.limit_offset_pct";

}  // namespace

TEST(StrategyValidate, DefaultsPass) {
    EXPECT_EQ(check(base()), "ok");
    // The checks change nothing and may run twice.
    StrategySpec s = base();
    StrategySpec copy = s;
    EXPECT_EQ(check(s), "ok");
    EXPECT_EQ(s, copy);
}

TEST(StrategyValidate, RuleReferences) {
    StrategySpec s = base();
    s.entry = uses("rsi.value");
    EXPECT_EQ(check(s), "ok");  // output names are not checked
    s.indicators.clear();
    EXPECT_EQ(check(s), kUndeclared + "rsi.value");  // the whole key is echoed

    s = base();
    s.entry = uses("a.b.c");
    EXPECT_EQ(check(s), kUndeclared + "a.b.c");
    s.indicators["a"] = IndicatorSpec{"Sma", {5}, std::nullopt};
    EXPECT_EQ(check(s), "ok");  // looks up the id a
    s.entry = uses("a.");
    EXPECT_EQ(check(s), "ok");
    s.entry = uses(".a");
    EXPECT_EQ(check(s), kUndeclared + ".a");  // the id is empty

    // Depth first, left to right, into expressions and nested rules.
    s = base();
    s.entry = Condition::all({uses("rsi"),
                              Condition::negate(Condition::between(
                                  R("rsi"), Operand::prev(Operand::arith(Operand::Kind::Div, R("p"), R("q")), 1),
                                  R("r")))});
    EXPECT_EQ(check(s), kUndeclared + "p");
    s.entry = Condition::any({Condition::rising(Operand::price(PriceField::Close), 2),
                              Condition::falling(Operand::arith(Operand::Kind::Sub, C(1), R("z")), 1)});
    EXPECT_EQ(check(s), kUndeclared + "z");
}

TEST(StrategyValidate, RulesAreCheckedInOrder) {
    StrategySpec s = base();
    s.short_exit = uses("d");
    EXPECT_EQ(check(s), kUndeclared + "d");
    s.short_entry = uses("c");
    EXPECT_EQ(check(s), kUndeclared + "c");
    s.exit = uses("b");
    EXPECT_EQ(check(s), kUndeclared + "b");
    s.entry = uses("a");
    EXPECT_EQ(check(s), kUndeclared + "a");
}

TEST(StrategyValidate, CheckOrder) {
    // A bad reference wins over a wrong version, which wins over the missing stop.
    StrategySpec s = base();
    s.sizing = Sizing::risk_per_trade(1.0);
    s.spec_version = 2;
    s.short_exit = uses("bands.upper");
    EXPECT_EQ(check(s), kUndeclared + "bands.upper");
    s.short_exit.reset();
    EXPECT_EQ(check(s), kSpec + "spec_version 2 is not supported; this build reads 1..=1");
    s.spec_version = 1;
    EXPECT_EQ(check(s), kSpec + kRiskText);
    EXPECT_EQ(kRiskText.size(), 126u);
    s.risk.stop_loss_pct = 2.0;
    EXPECT_EQ(check(s), "ok");

    s = base();
    s.spec_version = 0;
    EXPECT_EQ(check(s), kSpec + "spec_version 0 is not supported; this build reads 1..=1");
    s.spec_version = 4294967295u;
    EXPECT_EQ(check(s), kSpec + "spec_version 4294967295 is not supported; this build reads 1..=1");
}

TEST(StrategyValidate, DeclaredFeeds) {
    StrategySpec s = base();
    s.indicators["vol"] = IndicatorSpec{"Obv", {}, Feed::Trade};
    EXPECT_EQ(check(s), kSpec + "indicator 'vol' (Obv) declares feed Trade but consumes Kline");
    s.indicators["vol"].feed = Feed::Kline;
    EXPECT_EQ(check(s), "ok");
    s.indicators["vol"].feed = std::nullopt;
    EXPECT_EQ(check(s), "ok");
    // Aliases and unknown names are not kinds here; they pass this check.
    s.indicators["m"] = IndicatorSpec{"Macd", {}, Feed::Trade};
    s.indicators["b"] = IndicatorSpec{"Bollinger", {}, Feed::Orderbook};
    s.indicators["u"] = IndicatorSpec{"NoSuchKind", {}, Feed::CrossSection};
    EXPECT_EQ(check(s), "ok");
    s.indicators["f"] = IndicatorSpec{"FundingRate", {}, Feed::Kline};
    EXPECT_EQ(check(s), kSpec + "indicator 'f' (FundingRate) declares feed Kline but consumes Derivatives");
    // Ids in byte order: "F" comes before "f".
    s.indicators["F"] = IndicatorSpec{"Sma", {}, Feed::TradeQuote};
    EXPECT_EQ(check(s), kSpec + "indicator 'F' (Sma) declares feed TradeQuote but consumes Kline");
    s.indicators["F"].feed = Feed::CrossSection;
    EXPECT_EQ(check(s), kSpec + "indicator 'F' (Sma) declares feed CrossSection but consumes Kline");
    s.indicators["F"].feed = Feed::Derivatives;
    EXPECT_EQ(check(s), kSpec + "indicator 'F' (Sma) declares feed Derivatives but consumes Kline");
    s.indicators["F"].feed = Feed::Orderbook;
    EXPECT_EQ(check(s), kSpec + "indicator 'F' (Sma) declares feed Orderbook but consumes Kline");
    // The feed check comes after the stop check.
    s.sizing = Sizing::risk_per_trade(1.0);
    EXPECT_EQ(check(s), kSpec + kRiskText);
}

TEST(StrategyValidate, OrderTypes) {
    StrategySpec s = base();
    s.execution.order_type = OrderType::Limit;
    EXPECT_EQ(check(s), kSpec + "limit order_type requires execution.limit_offset_pct");
    s.execution.stop_offset_pct = 1.0;
    EXPECT_EQ(check(s), kSpec + "limit order_type requires execution.limit_offset_pct");
    s.execution.limit_offset_pct = -0.5;
    EXPECT_EQ(check(s), "ok");

    s = base();
    s.execution.order_type = OrderType::Stop;
    s.execution.limit_offset_pct = 1.0;
    EXPECT_EQ(check(s), kSpec + "stop order_type requires execution.stop_offset_pct");
    s.execution.stop_offset_pct = 1.0;
    EXPECT_EQ(check(s), "ok");

    s = base();
    s.execution.order_type = OrderType::StopLimit;
    s.execution.stop_offset_pct = 1.0;
    EXPECT_EQ(check(s), kSpec + kStopLimitText);
    EXPECT_EQ(kStopLimitText.size(), 113u);
    s.execution.stop_offset_pct.reset();
    s.execution.limit_offset_pct = 1.5;
    EXPECT_EQ(check(s), kSpec + kStopLimitText);
    s.execution.limit_offset_pct.reset();
    EXPECT_EQ(check(s), kSpec + kStopLimitText);
    s.execution.stop_offset_pct = 1.0;
    s.execution.limit_offset_pct = 1.5;
    EXPECT_EQ(check(s), "ok");
}

TEST(StrategyValidate, PartialFillsAndCloseTiming) {
    StrategySpec s = base();
    s.execution.partial_fills = true;
    EXPECT_EQ(check(s), kSpec + "partial_fills requires execution.max_participation");
    // The order-type check comes first.
    s.execution.order_type = OrderType::Limit;
    EXPECT_EQ(check(s), kSpec + "limit order_type requires execution.limit_offset_pct");
    s.execution.limit_offset_pct = 1.0;
    s.execution.max_participation = 0.1;
    EXPECT_EQ(check(s), "ok");

    // Partial fills pass, then close timing with a limit order fails.
    s.execution.fill_timing = FillTiming::Close;
    EXPECT_EQ(check(s), kSpec + "fill_timing close requires a market order_type");
    s.execution.latency_bars = 3;
    EXPECT_EQ(check(s), kSpec + "fill_timing close requires a market order_type");
    s.execution.order_type = OrderType::Market;
    EXPECT_EQ(check(s), kSpec + "fill_timing close is incompatible with latency_bars");
    s.execution.latency_bars = 1;
    EXPECT_EQ(check(s), kSpec + "fill_timing close is incompatible with latency_bars");
    s.execution.latency_bars = 0;
    EXPECT_EQ(check(s), "ok");

    // Latency with next-open timing is fine.
    s.execution.fill_timing = FillTiming::NextOpen;
    s.execution.latency_bars = 5;
    EXPECT_EQ(check(s), "ok");
}

TEST(StrategyValidate, ValuesAreNotJudged) {
    StrategySpec s = base();
    s.symbol.clear();
    s.timeframe.clear();
    s.sizing = Sizing::fixed_qty(-3);
    s.costs.maker_bps = -1;
    s.costs.slippage = Slippage::spread();
    s.costs.funding = true;
    s.risk.stop_loss_pct = -5;
    s.warmup = 0;
    s.indicators["rsi"].params = {-1, 0.5};
    EXPECT_EQ(check(s), "ok");
}

TEST(StrategyValidate, RuleLookbackCoversEveryRule) {
    StrategySpec s = base();
    EXPECT_EQ(s.rule_lookback(), 0u);
    s.exit = Condition::rising(R("rsi"), 2);
    EXPECT_EQ(s.rule_lookback(), 2u);
    s.short_entry = Condition::compare(K::CrossAbove, Operand::prev(R("rsi"), 4), C(1));
    EXPECT_EQ(s.rule_lookback(), 5u);
    s.short_exit = Condition::falling(R("rsi"), 9);
    EXPECT_EQ(s.rule_lookback(), 9u);
}

TEST(StrategyValidate, ErrorDisplays) {
    EXPECT_EQ(BacktestError::invalid_spec("partial_fills requires execution.max_participation").display(),
              "invalid strategy spec: partial_fills requires execution.max_participation");
    EXPECT_EQ(BacktestError::unknown_indicator("Smaa").display(), "unknown indicator type: Smaa");
    EXPECT_EQ(BacktestError::invalid_params("Sma", "parameter #0 must be finite").display(),
              "invalid parameters for indicator Sma: parameter #0 must be finite");
    EXPECT_EQ(BacktestError::undeclared_indicator("bands.upper").display(),
              "rule references undeclared indicator: bands.upper");
    EXPECT_EQ(BacktestError::invalid_data("no candles").display(), "invalid input data: no candles");
}
