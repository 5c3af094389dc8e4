#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "json/parse.hpp"
#include "strategy/read.hpp"
#include "support/table_file.hpp"

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

Sizing sizing(std::string_view t) { return part<Sizing>(t, strategy_read::read_sizing); }
Costs costs(std::string_view t) { return part<Costs>(t, strategy_read::read_costs); }
Risk risk(std::string_view t) { return part<Risk>(t, strategy_read::read_risk); }
Execution exec(std::string_view t) { return part<Execution>(t, strategy_read::read_execution); }
IndicatorSpec ind(std::string_view t) { return part<IndicatorSpec>(t, strategy_read::read_indicator_spec); }

}  // namespace

// Every fault text of the reader, in data/read_faults.txt: the part of the reader, the
// JSON text (\xNN for a byte) and the text it gives.
TEST(StrategyReadSpec, FaultTexts) {
    for (const auto& row : table_file::read("strategy/data/read_faults.txt")) {
        std::string text;
        for (std::size_t i = 0; i < row[1].size(); ++i) {
            const bool hex = row[1].compare(i, 2, "\\x") == 0;
            text += hex ? static_cast<char>(std::stoi(row[1].substr(i + 2, 2), nullptr, 16)) : row[1][i];
            if (hex) i += 3;
        }
        std::string want = row[2];
        for (std::size_t i = 3; i < row.size(); ++i) want += " " + row[i];
        const std::string& part = row[0];
        std::string got = part == "spec" ? spec_error(text)
                          : part == "spec+" ? spec_error(with(text))
                          : part == "indicator" ? part_error<IndicatorSpec>(text, strategy_read::read_indicator_spec)
                          : part == "sizing" ? part_error<Sizing>(text, strategy_read::read_sizing)
                          : part == "costs" ? part_error<Costs>(text, strategy_read::read_costs)
                          : part == "risk" ? part_error<Risk>(text, strategy_read::read_risk)
                          : part == "execution" ? part_error<Execution>(text, strategy_read::read_execution)
                          : part == "condition" ? part_error<Condition>(text, strategy_read::read_condition)
                          : part == "operand" ? part_error<Operand>(text, strategy_read::read_operand)
                                              : "no such part " + part;
        EXPECT_EQ(got, want) << "read_faults.txt line " << row.line;
    }
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

TEST(StrategyReadSpec, TopLevelFields) {
    EXPECT_EQ(spec(with(R"("spec_version": 2)")).spec_version, 2u);
    EXPECT_EQ(spec(with(R"("warmup": null)")).warmup, std::nullopt);
    EXPECT_EQ(spec(with(R"("warmup": 4294967295)")).warmup, 4294967295u);
    EXPECT_EQ(spec(with(R"("ref_symbol": null)")).ref_symbol, std::nullopt);
}

TEST(StrategyReadSpec, IndicatorSpecForms) {
    EXPECT_EQ(ind(R"({"type": "Sma", "params": [20]})"), ind(R"(["Sma", [20]])"));
    EXPECT_EQ(ind(R"(["Sma", [20]])"), (IndicatorSpec{"Sma", {20}, std::nullopt}));
    EXPECT_EQ(ind(R"(["Sma"])"), (IndicatorSpec{"Sma", {}, std::nullopt}));
    EXPECT_EQ(ind(R"({"type": "Sma"})"), (IndicatorSpec{"Sma", {}, std::nullopt}));
    EXPECT_EQ(ind(R"({"type": "NotAKind", "feed": null, "extra": 1})"), (IndicatorSpec{"NotAKind", {}, std::nullopt}));
    EXPECT_EQ(ind(R"(["Sma", [20], null])").feed, std::nullopt);
    EXPECT_EQ(ind(R"({"type": "Sma", "params": [20, 2.5, -1]})").params, (std::vector<double>{20.0, 2.5, -1.0}));
}

TEST(StrategyReadSpec, Feeds) {
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "kline"})").feed, Feed::Kline);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": {"kline": null}})").feed, Feed::Kline);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "trade"})").feed, Feed::Trade);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "orderbook"})").feed, Feed::Orderbook);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "trade_quote"})").feed, Feed::TradeQuote);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": {"derivatives": null}})").feed, Feed::Derivatives);
    EXPECT_EQ(ind(R"({"type": "Obv", "feed": "cross_section"})").feed, Feed::CrossSection);
}

TEST(StrategyReadSpec, Sizing) {
    EXPECT_EQ(sizing(R"({"type": "fixed_fraction", "fraction": 0.5})"), Sizing::fixed_fraction(0.5));
    EXPECT_EQ(sizing(R"(["fixed_fraction", 0.5])"), Sizing::fixed_fraction(0.5));
    EXPECT_EQ(sizing(R"({"type": "fixed_cash", "cash": 1000})"), Sizing::fixed_cash(1000));
    EXPECT_EQ(sizing(R"(["risk_per_trade", 1])"), Sizing::risk_per_trade(1));
    EXPECT_EQ(sizing(R"({"type": "vol_target", "target_vol": 0.2, "lookback": 20})"), Sizing::vol_target(0.2, 20));
    EXPECT_EQ(sizing(R"({"type": "fixed_qty", "qty": 3, "fraction": 0.5})"), Sizing::fixed_qty(3));
    EXPECT_EQ(sizing(R"({"qty": -3, "type": "fixed_qty"})"), Sizing::fixed_qty(-3));
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
}

TEST(StrategyReadSpec, ReadThenCheck) {
    // A strategy that reads can still fail its checks.
    auto s = spec(with(R"("indicators": {"vol": {"type": "Obv", "feed": "trade"}}, "entry": {"gt": ["rsi.value", 50]})"));
    ASSERT_TRUE(s.validate().has_value());
    EXPECT_EQ(s.validate()->display(), "rule references undeclared indicator: rsi.value");
    s.entry = Condition::in_position(false);
    EXPECT_EQ(s.validate()->display(), "invalid strategy spec: indicator 'vol' (Obv) declares feed Trade but consumes Kline");
}
