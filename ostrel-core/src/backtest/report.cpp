#include "backtest/report.hpp"

#include <cmath>
#include <limits>

#include "indicators/core/min_max.hpp"
#include "strategy/rules.hpp"

namespace ostrel {

Metrics compute_metrics(std::span<const EquityPoint> equity, std::span<const ClosedTrade> trades,
                        double initial_capital) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double c = initial_capital;
    Metrics m;

    m.pnl = equity.empty() ? 0.0 : equity.back().equity - c;
    m.return_pct = std::fabs(c) < EPSILON ? 0.0 : (m.pnl / c) * 100.0;

    // Per-bar returns r_k = e_{k+1} / e_k - 1, computed twice rather than stored so
    // that the report needs no buffer of its own.
    const std::size_t n = equity.size();
    const std::size_t returns = n == 0 ? 0 : n - 1;
    auto ret = [&](std::size_t k) {
        double e = equity[k].equity;
        return std::fabs(e) < EPSILON ? 0.0 : equity[k + 1].equity / e - 1.0;
    };
    if (returns > 0) {
        const double count = static_cast<double>(returns);
        double sum = 0.0;
        double down = 0.0;
        for (std::size_t k = 0; k < returns; ++k) {
            double r = ret(k);
            sum += r;
            double neg = core::min_ignoring_nan(r, 0.0);
            down += neg * neg;
        }
        double mean = sum / count;
        double sq = 0.0;
        for (std::size_t k = 0; k < returns; ++k) {
            double d = ret(k) - mean;
            sq += d * d;
        }
        double std_dev = std::sqrt(sq / count);
        m.sharpe = std::fabs(std_dev) < EPSILON ? 0.0 : mean / std_dev;
        double downside = std::sqrt(down / count);
        m.sortino = std::fabs(downside) < EPSILON ? 0.0 : (sum / count) / downside;
    }

    double peak = -inf;
    double mdd = 0.0;
    for (const EquityPoint& p : equity) {
        if (p.equity > peak) peak = p.equity;
        if (peak > 0.0) {
            double dd = ((peak - p.equity) / peak) * 100.0;
            if (dd > mdd) mdd = dd;
        }
    }
    m.max_drawdown = mdd;
    if (std::fabs(mdd) < EPSILON)
        m.calmar = m.return_pct > 0.0 ? inf : 0.0;
    else
        m.calmar = m.return_pct / mdd;

    std::uint64_t winners = 0;
    double gross_profit = 0.0;
    double gross_loss = 0.0;
    for (const ClosedTrade& t : trades) {
        if (t.pnl > 0.0) {
            ++winners;
            gross_profit += t.pnl;
        } else if (t.pnl < 0.0) {
            gross_loss += -t.pnl;
        }
    }
    m.num_trades = trades.size();
    m.win_rate = trades.empty()
                     ? 0.0
                     : (static_cast<double>(winners) / static_cast<double>(m.num_trades)) * 100.0;
    if (std::fabs(gross_loss) < EPSILON)
        m.profit_factor = gross_profit > 0.0 ? inf : 0.0;
    else
        m.profit_factor = gross_profit / gross_loss;
    return m;
}

namespace report_detail {

json::Value float_value(double x) { return std::isfinite(x) ? json::Value::number(x) : json::Value::null(); }

}  // namespace report_detail

json::Value BacktestReport::to_json() const {
    using json::Value;
    using report_detail::float_value;

    json::Object m;
    m.insert_or_assign("pnl", float_value(metrics.pnl));
    m.insert_or_assign("return_pct", float_value(metrics.return_pct));
    m.insert_or_assign("sharpe", float_value(metrics.sharpe));
    m.insert_or_assign("sortino", float_value(metrics.sortino));
    m.insert_or_assign("calmar", float_value(metrics.calmar));
    m.insert_or_assign("max_drawdown", float_value(metrics.max_drawdown));
    m.insert_or_assign("win_rate", float_value(metrics.win_rate));
    m.insert_or_assign("profit_factor", float_value(metrics.profit_factor));
    m.insert_or_assign("num_trades", Value::uinteger(metrics.num_trades));

    json::Array ts;
    ts.reserve(trades.size());
    for (const ClosedTrade& t : trades) {
        json::Object o;
        o.insert_or_assign("entry_time", Value::integer(t.entry_time));
        o.insert_or_assign("exit_time", Value::integer(t.exit_time));
        o.insert_or_assign("entry_price", float_value(t.entry_price));
        o.insert_or_assign("exit_price", float_value(t.exit_price));
        o.insert_or_assign("qty", float_value(t.qty));
        o.insert_or_assign("pnl", float_value(t.pnl));
        o.insert_or_assign("return_pct", float_value(t.return_pct));
        o.insert_or_assign("reason", Value::string(std::string(t.reason)));
        ts.push_back(Value::object(std::move(o)));
    }

    json::Array es;
    es.reserve(equity.size());
    for (const EquityPoint& p : equity) {
        json::Object o;
        o.insert_or_assign("time", Value::integer(p.time));
        o.insert_or_assign("equity", float_value(p.equity));
        es.push_back(Value::object(std::move(o)));
    }

    json::Object r;
    r.insert_or_assign("schema_version", Value::uinteger(schema_version));
    r.insert_or_assign("symbol", Value::string(symbol));
    r.insert_or_assign("timeframe", Value::string(timeframe));
    r.insert_or_assign("metrics", Value::object(std::move(m)));
    r.insert_or_assign("trades", Value::array(std::move(ts)));
    r.insert_or_assign("equity", Value::array(std::move(es)));
    r.insert_or_assign("fees_paid", float_value(fees_paid));
    r.insert_or_assign("initial_capital", float_value(initial_capital));
    return Value::object(std::move(r));
}

}  // namespace ostrel
