// The canonical text of a backtest report, written from its records.
#include "hash/canonical.hpp"

#include <cstddef>
#include <cstring>

#include "hash/scalar_writers.hpp"

namespace ostrel {

namespace canonical_detail {

// Appends a literal.
template <std::size_t N>
char* put(char* p, const char (&lit)[N]) {
    std::memcpy(p, lit, N - 1);
    return p + (N - 1);
}

// One equity point: {"equity":F,"time":I}. At most 14 + 400 + 20 bytes.
char* write_equity_point(char* p, const EquityPoint& e) {
    p = put(p, "{\"equity\":");
    p = write_float(p, e.equity);
    p = put(p, ",\"time\":");
    p = write_int(p, e.time);
    *p++ = '}';
    return p;
}

void append_float_member(std::string& out, std::string_view key_and_colon, double x) {
    out.append(key_and_colon);
    write_canonical_float(out, x);
}

}  // namespace canonical_detail

void write_canonical_report(std::string& out, const BacktestReport& r) {
    using namespace canonical_detail;
    // Members in the byte order of their keys, as the canonical writer sorts them:
    // equity, fees_paid, initial_capital, metrics, schema_version, symbol,
    // timeframe, trades; inside an equity point equity, time; inside a trade
    // entry_price, entry_time, exit_price, exit_time, pnl, qty, reason, return_pct;
    // inside the metrics calmar, max_drawdown, num_trades, pnl, profit_factor,
    // return_pct, sharpe, sortino, win_rate.
    out.reserve(out.size() + 256 + 40 * r.equity.size() + 200 * r.trades.size());
    out += "{\"equity\":[";
    // Points are written into a local block and appended a block at a time.
    char block[8192];
    char* p = block;
    bool first = true;
    for (const EquityPoint& e : r.equity) {
        if (p - block > static_cast<std::ptrdiff_t>(sizeof block) - 480) {
            out.append(block, static_cast<std::size_t>(p - block));
            p = block;
        }
        if (!first) *p++ = ',';
        first = false;
        p = write_equity_point(p, e);
    }
    out.append(block, static_cast<std::size_t>(p - block));
    out += ']';
    append_float_member(out, ",\"fees_paid\":", r.fees_paid);
    append_float_member(out, ",\"initial_capital\":", r.initial_capital);
    const Metrics& m = r.metrics;
    append_float_member(out, ",\"metrics\":{\"calmar\":", m.calmar);
    append_float_member(out, ",\"max_drawdown\":", m.max_drawdown);
    {
        char buf[24];
        out += ",\"num_trades\":";
        out.append(buf, write_uint(buf, m.num_trades));
    }
    append_float_member(out, ",\"pnl\":", m.pnl);
    append_float_member(out, ",\"profit_factor\":", m.profit_factor);
    append_float_member(out, ",\"return_pct\":", m.return_pct);
    append_float_member(out, ",\"sharpe\":", m.sharpe);
    append_float_member(out, ",\"sortino\":", m.sortino);
    append_float_member(out, ",\"win_rate\":", m.win_rate);
    {
        char buf[24];
        out += "},\"schema_version\":";
        out.append(buf, write_uint(buf, r.schema_version));
    }
    out += ",\"symbol\":";
    write_json_string(out, r.symbol);
    out += ",\"timeframe\":";
    write_json_string(out, r.timeframe);
    out += ",\"trades\":[";
    first = true;
    for (const ClosedTrade& t : r.trades) {
        char buf[24];
        out += first ? "{" : ",{";
        first = false;
        append_float_member(out, "\"entry_price\":", t.entry_price);
        out += ",\"entry_time\":";
        out.append(buf, write_int(buf, t.entry_time));
        append_float_member(out, ",\"exit_price\":", t.exit_price);
        out += ",\"exit_time\":";
        out.append(buf, write_int(buf, t.exit_time));
        append_float_member(out, ",\"pnl\":", t.pnl);
        append_float_member(out, ",\"qty\":", t.qty);
        out += ",\"reason\":";
        write_json_string(out, t.reason);
        append_float_member(out, ",\"return_pct\":", t.return_pct);
        out += '}';
    }
    out += "]}";
}

}  // namespace ostrel
