#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "backtest/report.hpp"
#include "json/value.hpp"

using namespace ostrel;

namespace {

std::vector<EquityPoint> curve(const std::vector<double>& values) {
    std::vector<EquityPoint> out;
    for (std::size_t k = 0; k < values.size(); ++k) out.push_back({static_cast<std::int64_t>(k), values[k]});
    return out;
}

ClosedTrade trade(double pnl) {
    ClosedTrade t;
    t.reason = "signal";
    t.pnl = pnl;
    return t;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(Metrics, FlatCurveWithoutTrades) {
    Metrics m = compute_metrics(curve({10000, 10000, 10000}), {}, 10000);
    EXPECT_EQ(m, Metrics{});  // every metric 0, no trades
    EXPECT_EQ(compute_metrics({}, {}, 10000), Metrics{});
}

TEST(Metrics, SingleBarHasNoRatios) {
    Metrics m = compute_metrics(curve({12000}), {}, 10000);
    EXPECT_EQ(m.pnl, 2000.0);
    EXPECT_EQ(m.return_pct, 20.0);
    EXPECT_EQ(m.sharpe, 0.0);
    EXPECT_EQ(m.sortino, 0.0);
    EXPECT_EQ(m.max_drawdown, 0.0);
    EXPECT_EQ(m.calmar, kInf);  // positive return without drawdown
}

TEST(Metrics, WorkedCurve) {
    // Values worked out separately (plain Python floats, same formulas).
    Metrics m = compute_metrics(curve({10000, 11000, 9900, 10450}), {}, 10000);
    EXPECT_EQ(m.pnl, 450.0);
    EXPECT_EQ(m.return_pct, 4.5);
    EXPECT_EQ(m.max_drawdown, 10.0);  // from the peak 11000
    EXPECT_EQ(m.calmar, 0.45);
    EXPECT_EQ(m.sharpe, 0.21596710639534047);
    EXPECT_EQ(m.sortino, 0.3207501495497929);
}

TEST(Metrics, GuardsAndEdges) {
    // A rising curve: no drawdown, calmar +infinity; a falling one without
    // downside deviation below EPSILON.
    Metrics up = compute_metrics(curve({10000, 10100, 10200}), {}, 10000);
    EXPECT_EQ(up.calmar, kInf);
    EXPECT_EQ(up.sortino, 0.0);  // no negative return
    // A loss without drawdown from a positive peak: calmar 0.
    Metrics neg = compute_metrics(curve({9000}), {}, 10000);
    EXPECT_EQ(neg.calmar, 0.0);
    // An equity of exactly 0 makes the next return 0 instead of a division by zero.
    Metrics zero = compute_metrics(curve({10000, 0, 500}), {}, 10000);
    EXPECT_TRUE(std::isfinite(zero.sharpe));
    EXPECT_TRUE(std::isfinite(zero.sortino));
    EXPECT_EQ(zero.max_drawdown, 100.0);
    // Only negative equity: the peak never exceeds 0 and no drawdown is measured.
    Metrics below = compute_metrics(curve({-5, -10}), {}, 10000);
    EXPECT_EQ(below.max_drawdown, 0.0);
    // A zero initial capital gives a return of 0.
    EXPECT_EQ(compute_metrics(curve({5}), {}, 0.0).return_pct, 0.0);
}

TEST(Metrics, TradeStatistics) {
    Metrics winners = compute_metrics({}, std::vector<ClosedTrade>{trade(5), trade(1)}, 10000);
    EXPECT_EQ(winners.num_trades, 2u);
    EXPECT_EQ(winners.win_rate, 100.0);
    EXPECT_EQ(winners.profit_factor, kInf);
    Metrics losers = compute_metrics({}, std::vector<ClosedTrade>{trade(-5), trade(-1)}, 10000);
    EXPECT_EQ(losers.win_rate, 0.0);
    EXPECT_EQ(losers.profit_factor, 0.0);
    // A trade at exactly 0 counts in neither sum but in the count.
    Metrics mixed = compute_metrics({}, std::vector<ClosedTrade>{trade(6), trade(0), trade(-2), trade(-1)}, 10000);
    EXPECT_EQ(mixed.num_trades, 4u);
    EXPECT_EQ(mixed.win_rate, 25.0);
    EXPECT_EQ(mixed.profit_factor, 2.0);
    Metrics evens = compute_metrics({}, std::vector<ClosedTrade>{trade(0)}, 10000);
    EXPECT_EQ(evens.win_rate, 0.0);
    EXPECT_EQ(evens.profit_factor, 0.0);
}

TEST(ReportJson, KindsOfNumbersAndNulls) {
    BacktestReport r;
    r.symbol = "BTC";
    r.timeframe = "1h";
    ClosedTrade t;
    t.reason = "end";
    t.entry_time = -5;
    t.exit_time = 7;
    t.entry_price = 100.0;
    t.exit_price = 101.0;
    t.qty = 1.0;
    t.pnl = 1.0;
    t.return_pct = 1.0;
    r.trades.push_back(t);
    r.equity.push_back({3, 10000.0});
    r.metrics.num_trades = 1;
    r.metrics.profit_factor = kInf;
    r.metrics.calmar = std::nan("");
    r.fees_paid = 0.5;
    json::Value v = r.to_json();
    ASSERT_TRUE(v.is_object());
    const json::Object& o = v.as_object();
    ASSERT_EQ(o.size(), 8u);
    EXPECT_TRUE(v.find("schema_version")->is_uint());
    EXPECT_EQ(v.find("schema_version")->as_uint(), 1u);
    EXPECT_EQ(v.find("initial_capital")->kind(), json::Value::Kind::Float);
    EXPECT_EQ(v.find("fees_paid")->as_float(), 0.5);
    const json::Value& m = *v.find("metrics");
    EXPECT_EQ(m.as_object().size(), 9u);
    EXPECT_TRUE(m.find("num_trades")->is_uint());
    EXPECT_TRUE(m.find("profit_factor")->is_null());
    EXPECT_TRUE(m.find("calmar")->is_null());
    EXPECT_TRUE(m.find("pnl")->is_float());
    const json::Value& tv = v.find("trades")->as_array().at(0);
    EXPECT_EQ(tv.as_object().size(), 8u);
    EXPECT_TRUE(tv.find("entry_time")->is_int());
    EXPECT_EQ(tv.find("entry_time")->as_int(), -5);
    EXPECT_TRUE(tv.find("exit_time")->is_uint());
    EXPECT_TRUE(tv.find("qty")->is_float());
    EXPECT_EQ(tv.find("reason")->as_string(), "end");
    const json::Value& ev = v.find("equity")->as_array().at(0);
    EXPECT_TRUE(ev.find("time")->is_uint());
    EXPECT_TRUE(ev.find("equity")->is_float());
}
