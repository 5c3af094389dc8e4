#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "json/parse.hpp"
#include "strategy/read.hpp"

using namespace ostrel;

namespace {

using K = Condition::Kind;

const std::string kMinimal =
    R"({"symbol": "BTCUSDT", "timeframe": "1h", "indicators": {}, "entry": {"in_position": false},)"
    R"( "exit": {"in_position": true}, "sizing": {"type": "fixed_qty", "qty": 1})";

json::Value parse(std::string_view text) {
    auto v = json::parse(text);
    EXPECT_TRUE(v.has_value()) << text;
    return v ? std::move(*v) : json::Value();
}

// The minimal strategy with extra members (a repeated key keeps the last value).
std::string with(std::string_view extra) {
    return kMinimal + (extra.empty() ? "" : ", ") + std::string(extra) + "}";
}

std::string spec_error(std::string_view text) {
    auto r = strategy_spec_from_value(parse(text));
    return r ? "ok" : r.error().message;
}

StrategySpec spec(std::string_view text) {
    auto r = strategy_spec_from_value(parse(text));
    EXPECT_TRUE(r.has_value()) << text << ": " << (r ? "" : r.error().message);
    return r ? std::move(*r) : StrategySpec{};
}

template <class T, class F>
std::string part_error(std::string_view text, F read) {
    json::Value v = parse(text);
    T out{};
    auto f = read(v, out);
    return f ? f->message : "ok";
}

template <class T, class F>
T part(std::string_view text, F read) {
    json::Value v = parse(text);
    T out{};
    auto f = read(v, out);
    EXPECT_FALSE(f.has_value()) << text << ": " << f->message;
    return out;
}

std::string sizing_error(std::string_view t) { return part_error<Sizing>(t, strategy_read::read_sizing); }
Sizing sizing(std::string_view t) { return part<Sizing>(t, strategy_read::read_sizing); }
std::string costs_error(std::string_view t) { return part_error<Costs>(t, strategy_read::read_costs); }
Costs costs(std::string_view t) { return part<Costs>(t, strategy_read::read_costs); }
std::string risk_error(std::string_view t) { return part_error<Risk>(t, strategy_read::read_risk); }
Risk risk(std::string_view t) { return part<Risk>(t, strategy_read::read_risk); }
std::string exec_error(std::string_view t) { return part_error<Execution>(t, strategy_read::read_execution); }
Execution exec(std::string_view t) { return part<Execution>(t, strategy_read::read_execution); }
std::string ind_error(std::string_view t) {
    return part_error<IndicatorSpec>(t, strategy_read::read_indicator_spec);
}
IndicatorSpec ind(std::string_view t) { return part<IndicatorSpec>(t, strategy_read::read_indicator_spec); }

const std::string kSizingNames =
    "one of `fixed_fraction`, `fixed_qty`, `fixed_cash`, `vol_target`, `risk_per_trade`";
const std::string kFeedNames = "one of `kline`, `trade`, `orderbook`, `trade_quote`, `derivatives`, `cross_section`";

}  // namespace

TEST(StrategyReadSpec, MissingFieldsInDeclarationOrder) {
    EXPECT_EQ(spec_error("{}"), "missing field `symbol`");
    EXPECT_EQ(spec_error(R"({"symbol": "X"})"), "missing field `timeframe`");
    EXPECT_EQ(spec_error(R"({"symbol": "X", "timeframe": "1h"})"), "missing field `indicators`");
    EXPECT_EQ(spec_error(R"({"symbol": "X", "timeframe": "1h", "indicators": {}})"), "missing field `entry`");
    EXPECT_EQ(spec_error(R"({"symbol": "X", "timeframe": "1h", "indicators": {}, "entry": "x_never_read"})"),
              "unknown variant `x_never_read`, expected one of `gt`, `lt`, `ge`, `le`, `eq`, `ne`, `cross_above`, "
              "`cross_below`, `between`, `rising`, `falling`, `all`, `any`, `not`, `in_position`, "
              "`bars_since_entry`");
    EXPECT_EQ(spec_error(R"({"symbol": "X", "timeframe": "1h", "indicators": {}, "entry": {"all": []}})"),
              "missing field `exit`");
    EXPECT_EQ(spec_error(R"({"symbol": "X", "timeframe": "1h", "indicators": {}, "entry": {"all": []},)"
                         R"( "exit": {"all": []}})"),
              "missing field `sizing`");
    // Present members are read before anything missing is reported.
    EXPECT_EQ(spec_error(R"({"warmup": -1})"), "invalid value: integer `-1`, expected u32");
    // Only an object is a strategy.
    EXPECT_EQ(spec_error("[]"), "invalid type: sequence, expected struct StrategySpec");
}

TEST(StrategyReadSpec, MinimalStrategyTakesEveryDefault) {
    StrategySpec s = spec(with(""));
    EXPECT_EQ(s.spec_version, 1u);
    EXPECT_EQ(s.symbol, "BTCUSDT");
    EXPECT_EQ(s.ref_symbol, std::nullopt);
    EXPECT_EQ(s.timeframe, "1h");
    EXPECT_TRUE(s.indicators.empty());
    EXPECT_EQ(s.entry, Condition::in_position(false));
    EXPECT_EQ(s.exit, Condition::in_position(true));
    EXPECT_EQ(s.short_entry, std::nullopt);
    EXPECT_EQ(s.short_exit, std::nullopt);
    EXPECT_EQ(s.sizing, Sizing::fixed_qty(1));
    EXPECT_EQ(s.costs.maker_bps, 0.0);
    EXPECT_EQ(s.costs.taker_bps, 0.0);
    EXPECT_EQ(s.costs.slippage, Slippage::fixed_bps(0));
    EXPECT_FALSE(s.costs.funding);
    EXPECT_EQ(s.risk, Risk{});
    EXPECT_FALSE(s.risk.stop_loss_pct || s.risk.take_profit_pct || s.risk.trailing_stop_pct ||
                 s.risk.max_leverage || s.risk.max_position_pct || s.risk.liquidation);
    EXPECT_EQ(s.execution.order_type, OrderType::Market);
    EXPECT_EQ(s.execution.fill_timing, FillTiming::NextOpen);
    EXPECT_FALSE(s.execution.limit_offset_pct || s.execution.stop_offset_pct || s.execution.max_participation);
    EXPECT_EQ(s.execution.latency_bars, 0u);
    EXPECT_FALSE(s.execution.partial_fills);
    EXPECT_EQ(s.warmup, std::nullopt);
}

TEST(StrategyReadSpec, FullStrategy) {
    StrategySpec s = spec(R"({
        "spec_version": 2, "symbol": "", "ref_symbol": "ETHUSDT", "timeframe": "",
        "indicators": {"fast": {"type": "Sma", "params": [10]}, "bb": ["BollingerBands", [20, 2], "kline"]},
        "entry": {"cross_above": ["fast", "bb.upper"]},
        "exit": {"not": {"gt": ["fast", 1]}},
        "short_entry": null,
        "short_exit": {"bars_since_entry": {"ge": 10}},
        "sizing": ["vol_target", 0.2, 20],
        "costs": {"taker_bps": 10},
        "risk": [2, null, 5],
        "execution": ["limit", "next_open", 0.5],
        "warmup": 0,
        "notes": {"anything": [1, 2]},
        "stop_loss": 2
    })");
    EXPECT_EQ(s.spec_version, 2u);
    EXPECT_EQ(s.symbol, "");
    EXPECT_EQ(s.ref_symbol, "ETHUSDT");
    ASSERT_EQ(s.indicators.size(), 2u);
    EXPECT_EQ(s.indicators.begin()->first, "bb");  // byte order of the ids
    EXPECT_EQ(s.indicators["bb"], (IndicatorSpec{"BollingerBands", {20, 2}, Feed::Kline}));
    EXPECT_EQ(s.indicators["fast"], (IndicatorSpec{"Sma", {10}, std::nullopt}));
    EXPECT_EQ(s.entry, Condition::compare(K::CrossAbove, Operand::reference("fast"), Operand::reference("bb.upper")));
    EXPECT_EQ(s.short_entry, std::nullopt);
    EXPECT_EQ(s.short_exit, Condition::bars_since_entry(CmpOp::Ge, 10));
    EXPECT_EQ(s.sizing, Sizing::vol_target(0.2, 20));
    EXPECT_EQ(s.costs.taker_bps, 10.0);
    EXPECT_EQ(s.risk.stop_loss_pct, 2.0);
    EXPECT_EQ(s.risk.take_profit_pct, std::nullopt);
    EXPECT_EQ(s.risk.trailing_stop_pct, 5.0);
    EXPECT_EQ(s.execution.order_type, OrderType::Limit);
    EXPECT_EQ(s.execution.limit_offset_pct, 0.5);
    EXPECT_EQ(s.warmup, 0u);
}

TEST(StrategyReadSpec, TopLevelFieldFaults) {
    EXPECT_EQ(spec(with(R"("spec_version": 2)")).spec_version, 2u);
    EXPECT_EQ(spec_error(with(R"("spec_version": -1)")), "invalid value: integer `-1`, expected u32");
    EXPECT_EQ(spec_error(with(R"("spec_version": 1.0)")), "invalid type: floating point `1.0`, expected u32");
    EXPECT_EQ(spec_error(with(R"("spec_version": null)")), "invalid type: null, expected u32");
    EXPECT_EQ(spec_error(with(R"("spec_version": 4294967296)")), "invalid value: integer `4294967296`, expected u32");
    EXPECT_EQ(spec_error(with(R"("spec_version": "5")")), "invalid type: string \"5\", expected u32");
    EXPECT_EQ(spec(with(R"("warmup": null)")).warmup, std::nullopt);
    EXPECT_EQ(spec(with(R"("warmup": 4294967295)")).warmup, 4294967295u);
    EXPECT_EQ(spec_error(with(R"("warmup": 4294967296)")), "invalid value: integer `4294967296`, expected u32");
    EXPECT_EQ(spec_error(with(R"("warmup": "5")")), "invalid type: string \"5\", expected u32");
    EXPECT_EQ(spec_error(with(R"("warmup": 1e3)")), "invalid type: floating point `1000.0`, expected u32");
    EXPECT_EQ(spec_error(with(R"("symbol": 5)")), "invalid type: integer `5`, expected a string");
    EXPECT_EQ(spec_error(with(R"("timeframe": null)")), "invalid type: null, expected a string");
    EXPECT_EQ(spec(with(R"("ref_symbol": null)")).ref_symbol, std::nullopt);
    EXPECT_EQ(spec_error(with(R"("ref_symbol": false)")), "invalid type: boolean `false`, expected a string");
    EXPECT_EQ(spec_error(with(R"("indicators": [])")), "invalid type: sequence, expected a map");
    EXPECT_EQ(spec_error(with(R"("indicators": null)")), "invalid type: null, expected a map");
    EXPECT_EQ(spec_error(with(R"("costs": null)")), "invalid type: null, expected struct Costs");
    EXPECT_EQ(spec_error(with(R"("risk": null)")), "invalid type: null, expected struct Risk");
    EXPECT_EQ(spec_error(with(R"("execution": null)")), "invalid type: null, expected struct Execution");
    EXPECT_EQ(spec_error(with(R"("entry": null)")), "invalid type: null, expected string or map");
    EXPECT_EQ(spec_error(with(R"("short_exit": 3)")), "invalid type: integer `3`, expected string or map");
    EXPECT_EQ(spec_error(with(R"("sizing": null)")), "invalid type: null, expected internally tagged enum Sizing");
    // Unknown members are ignored, whatever their value.
    EXPECT_EQ(spec_error(with(R"("stop_loss": 2, "Symbol": null)")), "ok");
}

TEST(StrategyReadSpec, FirstFaultInKeyOrderWins) {
    // entry < warmup in byte order.
    EXPECT_EQ(spec_error(with(R"("warmup": "x", "entry": {"gt": ["a"]})")),
              "invalid length 1, expected a tuple of size 2");
    // costs < entry < execution < indicators < risk < sizing < spec_version.
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1, "risk": 1, "indicators": 1, "execution": 1,)"
                              R"( "entry": 1, "costs": 1)")),
              "invalid type: integer `1`, expected struct Costs");
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1, "risk": 1, "indicators": 1, "execution": 1,)"
                              R"( "entry": 1)")),
              "invalid type: integer `1`, expected string or map");
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1, "risk": 1, "indicators": 1, "execution": 1)")),
              "invalid type: integer `1`, expected struct Execution");
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1, "risk": 1, "indicators": 1)")),
              "invalid type: integer `1`, expected a map");
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1, "risk": 1)")),
              "invalid type: integer `1`, expected struct Risk");
    EXPECT_EQ(spec_error(with(R"("spec_version": -1, "sizing": 1)")),
              "invalid type: integer `1`, expected internally tagged enum Sizing");
    // A bad member wins over a missing one.
    EXPECT_EQ(spec_error(R"({"timeframe": 1})"), "invalid type: integer `1`, expected a string");
    // Indicators in id order; the first faulty declaration ends reading.
    EXPECT_EQ(spec_error(with(R"("indicators": {"b": {"params": []}, "a": {"type": 1}})")),
              "invalid type: integer `1`, expected a string");
}

TEST(StrategyReadSpec, IndicatorSpecForms) {
    EXPECT_EQ(ind(R"({"type": "Sma", "params": [20]})"), ind(R"(["Sma", [20]])"));
    EXPECT_EQ(ind(R"(["Sma", [20]])"), (IndicatorSpec{"Sma", {20}, std::nullopt}));
    EXPECT_EQ(ind(R"(["Sma"])"), (IndicatorSpec{"Sma", {}, std::nullopt}));
    EXPECT_EQ(ind(R"({"type": "Sma"})"), (IndicatorSpec{"Sma", {}, std::nullopt}));
    EXPECT_EQ(ind(R"({"type": "NotAKind", "feed": null, "extra": 1})"), (IndicatorSpec{"NotAKind", {}, std::nullopt}));
    EXPECT_EQ(ind(R"(["Sma", [20], null])").feed, std::nullopt);
    EXPECT_EQ(ind(R"({"type": "Sma", "params": [20, 2.5, -1]})").params, (std::vector<double>{20.0, 2.5, -1.0}));
    EXPECT_EQ(ind_error(R"({"params": [20]})"), "missing field `type`");
    EXPECT_EQ(ind_error("[]"), "invalid length 0, expected struct IndicatorSpec with 3 elements");
    EXPECT_EQ(ind_error(R"(["Sma", [20], null, 1])"), "invalid length 4, expected fewer elements in array");
    EXPECT_EQ(ind_error(R"("Sma")"), "invalid type: string \"Sma\", expected struct IndicatorSpec");
    EXPECT_EQ(ind_error(R"({"type": "Sma", "params": null})"), "invalid type: null, expected a sequence");
    EXPECT_EQ(ind_error(R"({"type": "Sma", "params": ["20"]})"), "invalid type: string \"20\", expected f64");
    EXPECT_EQ(ind_error(R"({"type": "Sma", "params": 20})"), "invalid type: integer `20`, expected a sequence");
    EXPECT_EQ(ind_error(R"([5])"), "invalid type: integer `5`, expected a string");
}

TEST(StrategyReadSpec, Feeds) {
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "kline"})").feed, Feed::Kline);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": {"kline": null}})").feed, Feed::Kline);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "trade"})").feed, Feed::Trade);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "orderbook"})").feed, Feed::Orderbook);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "trade_quote"})").feed, Feed::TradeQuote);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": {"derivatives": null}})").feed, Feed::Derivatives);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "cross_section"})").feed, Feed::CrossSection);
    EXPECT_EQ(ind_error(R"({"type": "Obv", "feed": "Kline"})"), "unknown variant `Kline`, expected " + kFeedNames);
    EXPECT_EQ(ind_error(R"({"type": "Obv", "feed": {"kline": 1}})"), "invalid type: integer `1`, expected unit variant");
    EXPECT_EQ(ind_error(R"({"type": "Obv", "feed": 1})"), "invalid type: integer `1`, expected string or map");
    EXPECT_EQ(ind_error(R"({"type": "Obv", "feed": {}})"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(ind_error(R"({"type": "Obv", "feed": {"kline": null, "trade": null}})"),
              "invalid value: map, expected map with a single key");
}

TEST(StrategyReadSpec, Sizing) {
    EXPECT_EQ(sizing(R"({"type": "fixed_fraction", "fraction": 0.5})"), Sizing::fixed_fraction(0.5));
    EXPECT_EQ(sizing(R"(["fixed_fraction", 0.5])"), Sizing::fixed_fraction(0.5));
    EXPECT_EQ(sizing(R"({"type": "fixed_cash", "cash": 1000})"), Sizing::fixed_cash(1000));
    EXPECT_EQ(sizing(R"(["risk_per_trade", 1])"), Sizing::risk_per_trade(1));
    EXPECT_EQ(sizing(R"({"type": "vol_target", "target_vol": 0.2, "lookback": 20})"), Sizing::vol_target(0.2, 20));
    EXPECT_EQ(sizing(R"({"type": "fixed_qty", "qty": 3, "fraction": 0.5})"), Sizing::fixed_qty(3));
    EXPECT_EQ(sizing(R"({"qty": -3, "type": "fixed_qty"})"), Sizing::fixed_qty(-3));

    EXPECT_EQ(sizing_error(R"({"type": "fixed_fraction"})"), "missing field `fraction`");
    EXPECT_EQ(sizing_error(R"({"fraction": 0.5})"), "missing field `type`");
    EXPECT_EQ(sizing_error(R"({"type": "Fixed_Fraction", "fraction": 0.5})"),
              "unknown variant `Fixed_Fraction`, expected " + kSizingNames);
    EXPECT_EQ(sizing_error(R"({"type": "fixed_amount"})"), "unknown variant `fixed_amount`, expected " + kSizingNames);
    EXPECT_EQ(sizing_error(R"({"type": "vol_target"})"), "missing field `target_vol`");
    EXPECT_EQ(sizing_error(R"({"type": "vol_target", "target_vol": 0.2})"), "missing field `lookback`");
    EXPECT_EQ(sizing_error(R"({"type": "vol_target", "target_vol": 0.2, "lookback": 20.0})"),
              "invalid type: floating point `20.0`, expected u32");
    EXPECT_EQ(sizing_error(R"({"type": "vol_target", "target_vol": 0.2, "lookback": -5})"),
              "invalid value: integer `-5`, expected u32");
    // Fields in key order: lookback before target_vol.
    EXPECT_EQ(sizing_error(R"({"type": "vol_target", "target_vol": "a", "lookback": -5})"),
              "invalid value: integer `-5`, expected u32");
    EXPECT_EQ(sizing_error(R"({"type": "fixed_qty", "qty": null})"), "invalid type: null, expected f64");

    EXPECT_EQ(sizing_error(R"(["vol_target", 0.2])"),
              "invalid length 1, expected struct variant Sizing::VolTarget with 2 elements");
    EXPECT_EQ(sizing_error(R"(["fixed_qty"])"), "invalid length 0, expected struct variant Sizing::FixedQty with 1 element");
    EXPECT_EQ(sizing_error(R"(["fixed_fraction"])"),
              "invalid length 0, expected struct variant Sizing::FixedFraction with 1 element");
    EXPECT_EQ(sizing_error(R"(["fixed_cash"])"),
              "invalid length 0, expected struct variant Sizing::FixedCash with 1 element");
    EXPECT_EQ(sizing_error(R"(["risk_per_trade"])"),
              "invalid length 0, expected struct variant Sizing::RiskPerTrade with 1 element");
    EXPECT_EQ(sizing_error(R"(["fixed_qty", 1, 2])"), "invalid length 2, expected 1 element in sequence");
    EXPECT_EQ(sizing_error(R"(["vol_target", 0.2, 20, 5])"), "invalid length 3, expected 2 elements in sequence");
    EXPECT_EQ(sizing_error(R"(["vol_target", 0.2, 2.0])"), "invalid type: floating point `2.0`, expected u32");

    EXPECT_EQ(sizing_error(R"("fixed_qty")"), "invalid type: string \"fixed_qty\", expected internally tagged enum Sizing");
    EXPECT_EQ(sizing_error(R"({"type": 1, "qty": 1})"), "invalid type: integer `1`, expected variant identifier");
    EXPECT_EQ(sizing_error("[]"), "missing field `type`");
    EXPECT_EQ(sizing_error("[null, 1]"), "invalid type: null, expected variant identifier");
}

TEST(StrategyReadSpec, CostsAndSlippage) {
    EXPECT_EQ(spec(with("")).costs, Costs{});
    EXPECT_EQ(costs("{}"), Costs{});
    Costs c = costs(R"({"taker_bps": 10})");
    EXPECT_EQ(c.taker_bps, 10.0);
    EXPECT_EQ(c.maker_bps, 0.0);
    EXPECT_EQ(c.slippage, Slippage::fixed_bps(0));
    EXPECT_FALSE(c.funding);
    EXPECT_EQ(costs(R"({"slippage": {"type": "spread"}})").slippage, Slippage::spread());
    EXPECT_EQ(costs(R"({"slippage": {"type": "spread", "bps": "x"}})").slippage, Slippage::spread());
    EXPECT_EQ(costs(R"({"slippage": ["spread"]})").slippage, Slippage::spread());
    EXPECT_EQ(costs(R"({"slippage": {"type": "volume_impact", "coef": 0.1}})").slippage, Slippage::volume_impact(0.1));
    EXPECT_EQ(costs(R"({"maker_bps": -1, "funding": true})").maker_bps, -1.0);
    EXPECT_TRUE(costs(R"({"funding": true})").funding);

    Costs full = costs(R"([0, 10, {"type": "fixed_bps", "bps": 5}, false])");
    EXPECT_EQ(full.taker_bps, 10.0);
    EXPECT_EQ(full.slippage, Slippage::fixed_bps(5));
    EXPECT_EQ(costs("[]"), Costs{});
    EXPECT_EQ(costs("[1.0]").maker_bps, 1.0);
    EXPECT_EQ(costs("[1.0, 2.5]").taker_bps, 2.5);

    EXPECT_EQ(costs_error(R"({"slippage": {"type": "volume_impact"}})"), "missing field `coef`");
    EXPECT_EQ(costs_error(R"({"slippage": {"type": "bps"}})"),
              "unknown variant `bps`, expected one of `fixed_bps`, `spread`, `volume_impact`");
    EXPECT_EQ(costs_error(R"({"slippage": "fixed_bps"})"),
              "invalid type: string \"fixed_bps\", expected internally tagged enum Slippage");
    EXPECT_EQ(costs_error(R"({"slippage": ["fixed_bps"]})"),
              "invalid length 0, expected struct variant Slippage::FixedBps with 1 element");
    EXPECT_EQ(costs_error(R"({"slippage": ["volume_impact"]})"),
              "invalid length 0, expected struct variant Slippage::VolumeImpact with 1 element");
    EXPECT_EQ(costs_error(R"({"slippage": ["fixed_bps", 1, 2]})"), "invalid length 2, expected 1 element in sequence");
    EXPECT_EQ(costs_error(R"({"slippage": ["spread", 1]})"), "invalid length 1, expected 0 elements in sequence");
    EXPECT_EQ(costs_error(R"({"funding": 1})"), "invalid type: integer `1`, expected a boolean");
    EXPECT_EQ(costs_error(R"({"maker_bps": null})"), "invalid type: null, expected f64");
    EXPECT_EQ(costs_error(R"([0, 10, null])"), "invalid type: null, expected internally tagged enum Slippage");
    EXPECT_EQ(costs_error(R"([0, 10, {"type": "spread"}, false, 1])"),
              "invalid length 5, expected fewer elements in array");
    EXPECT_EQ(costs_error("true"), "invalid type: boolean `true`, expected struct Costs");
}

TEST(StrategyReadSpec, Risk) {
    EXPECT_EQ(risk("{}"), Risk{});
    EXPECT_EQ(risk("[]"), Risk{});
    Risk r = risk("[2, null, 5]");
    EXPECT_EQ(r.stop_loss_pct, 2.0);
    EXPECT_EQ(r.take_profit_pct, std::nullopt);
    EXPECT_EQ(r.trailing_stop_pct, 5.0);
    EXPECT_EQ(r.max_leverage, std::nullopt);
    EXPECT_FALSE(r.liquidation);
    Risk all = risk("[1, 2, 3, 4, 5, true]");
    EXPECT_EQ(all.max_leverage, 4.0);
    EXPECT_EQ(all.max_position_pct, 5.0);
    EXPECT_TRUE(all.liquidation);
    EXPECT_EQ(risk(R"({"stop_loss_pct": null})"), Risk{});
    EXPECT_EQ(risk(R"({"take_profit_pct": -4, "max_leverage": 0})").take_profit_pct, -4.0);
    EXPECT_EQ(risk_error("[1, 2, 3, 4, 5, true, 7]"), "invalid length 7, expected fewer elements in array");
    EXPECT_EQ(risk_error(R"({"stop_loss_pct": "2"})"), "invalid type: string \"2\", expected f64");
    EXPECT_EQ(risk_error(R"({"liquidation": null})"), "invalid type: null, expected a boolean");
    EXPECT_EQ(risk_error("5"), "invalid type: integer `5`, expected struct Risk");
}

TEST(StrategyReadSpec, Execution) {
    Execution sl = exec(R"({"order_type": "stop_limit", "stop_offset_pct": 1, "limit_offset_pct": 1.5})");
    EXPECT_EQ(sl.order_type, OrderType::StopLimit);
    EXPECT_EQ(sl.stop_offset_pct, 1.0);
    EXPECT_EQ(sl.limit_offset_pct, 1.5);
    EXPECT_EQ(exec(R"({"order_type": {"stop_limit": null}})").order_type, OrderType::StopLimit);
    EXPECT_EQ(exec(R"({"order_type": "stop"})").order_type, OrderType::Stop);
    EXPECT_EQ(exec(R"({"order_type": "limit"})").order_type, OrderType::Limit);
    EXPECT_EQ(exec(R"({"order_type": {"market": null}})").order_type, OrderType::Market);
    EXPECT_EQ(exec(R"({"fill_timing": "close"})").fill_timing, FillTiming::Close);
    EXPECT_EQ(exec(R"({"fill_timing": {"next_open": null}})").fill_timing, FillTiming::NextOpen);
    Execution arr = exec(R"(["limit", "next_open", 0.5])");
    EXPECT_EQ(arr.order_type, OrderType::Limit);
    EXPECT_EQ(arr.limit_offset_pct, 0.5);
    EXPECT_EQ(arr.stop_offset_pct, std::nullopt);
    EXPECT_EQ(arr.latency_bars, 0u);
    Execution full = exec(R"(["market", "close", null, 2, 4294967295, true, 0.1])");
    EXPECT_EQ(full.stop_offset_pct, 2.0);
    EXPECT_EQ(full.latency_bars, 4294967295u);
    EXPECT_TRUE(full.partial_fills);
    EXPECT_EQ(full.max_participation, 0.1);
    EXPECT_EQ(exec(R"({"orderType": "limit"})").order_type, OrderType::Market);

    EXPECT_EQ(exec_error(R"({"order_type": "Market"})"),
              "unknown variant `Market`, expected one of `market`, `limit`, `stop`, `stop_limit`");
    EXPECT_EQ(exec_error(R"({"fill_timing": "open"})"), "unknown variant `open`, expected `next_open` or `close`");
    EXPECT_EQ(exec_error(R"({"order_type": {"limit": 1}})"), "invalid type: integer `1`, expected unit");
    EXPECT_EQ(exec_error(R"({"fill_timing": {"close": false}})"), "invalid type: boolean `false`, expected unit");
    EXPECT_EQ(exec_error(R"({"order_type": {}})"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(exec_error(R"({"order_type": 0})"), "invalid type: integer `0`, expected string or map");
    EXPECT_EQ(exec_error(R"({"latency_bars": 2.0})"), "invalid type: floating point `2.0`, expected u32");
    EXPECT_EQ(exec_error(R"({"latency_bars": -1})"), "invalid value: integer `-1`, expected u32");
    EXPECT_EQ(exec_error(R"({"latency_bars": null})"), "invalid type: null, expected u32");
    EXPECT_EQ(exec_error(R"({"partial_fills": "yes"})"), "invalid type: string \"yes\", expected a boolean");
    EXPECT_EQ(exec_error(R"({"max_participation": []})"), "invalid type: sequence, expected f64");
    EXPECT_EQ(exec_error("[1, 2, 3, 4, 5, 6, 7, 8]"), "invalid type: integer `1`, expected string or map");
    EXPECT_EQ(exec_error(R"(["market", "close", null, null, 0, false, null, 8])"),
              "invalid length 8, expected fewer elements in array");
    EXPECT_EQ(exec_error(R"("market")"), "invalid type: string \"market\", expected struct Execution");
}

TEST(StrategyReadSpec, ReadThenCheck) {
    // A strategy that reads can still fail its checks.
    auto s = spec(with(R"("indicators": {"vol": {"type": "Obv", "feed": "trade"}}, "entry": {"gt": ["rsi.value", 50]})"));
    ASSERT_TRUE(s.validate().has_value());
    EXPECT_EQ(s.validate()->display(), "rule references undeclared indicator: rsi.value");
    s.entry = Condition::in_position(false);
    EXPECT_EQ(s.validate()->display(), "invalid strategy spec: indicator 'vol' (Obv) declares feed Trade but consumes Kline");
}
