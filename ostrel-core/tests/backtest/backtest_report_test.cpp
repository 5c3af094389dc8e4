#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "backtest/report.hpp"
#include "json/value.hpp"
#include "support/table_file.hpp"

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

TEST(Metrics, Table) {
    EXPECT_EQ(compute_metrics({}, {}, 10000), Metrics{});  // no curve, no trades: every metric 0
    auto list = [](const std::string& cell) {
        std::vector<double> out;
        std::stringstream in(cell);
        for (std::string x; cell != "-" && std::getline(in, x, ',');) out.push_back(table_file::Row::parse_number(x));
        return out;
    };
    for (const auto& r : table_file::read("backtest/data/metrics.txt")) {
        std::vector<ClosedTrade> trades;
        for (double pnl : list(r[1])) trades.push_back(trade(pnl));
        const Metrics m = compute_metrics(curve(list(r[0])), trades, r.num(2));
        const std::map<std::string, double> got = {
            {"pnl", m.pnl}, {"return_pct", m.return_pct}, {"sharpe", m.sharpe}, {"sortino", m.sortino},
            {"calmar", m.calmar}, {"max_drawdown", m.max_drawdown}, {"win_rate", m.win_rate},
            {"profit_factor", m.profit_factor}, {"num_trades", static_cast<double>(m.num_trades)}};
        for (std::size_t i = 3; i < r.size(); ++i) {
            const auto eq = r[i].find('=');
            const double v = got.at(r[i].substr(0, eq));
            const std::string want = r[i].substr(eq + 1);
            if (want == "finite") EXPECT_TRUE(std::isfinite(v)) << "metrics.txt line " << r.line << ": " << r[i];
            else EXPECT_EQ(v, table_file::Row::parse_number(want)) << "metrics.txt line " << r.line << ": " << r[i];
        }
    }
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
