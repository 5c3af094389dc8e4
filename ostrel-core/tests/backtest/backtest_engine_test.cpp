#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backtest/engine.hpp"
#include "json/parse.hpp"
#include "strategy/read.hpp"

using namespace ostrel;

namespace {

// Bar k: close 100 + k, open half below, high one above the close, low one below the
// open; times 1000 apart.
std::vector<Candle> rising(std::size_t n) {
    std::vector<Candle> out;
    for (std::size_t k = 0; k < n; ++k) {
        double c = 100.0 + static_cast<double>(k);
        out.push_back(Candle{static_cast<std::int64_t>(k) * 1000, c - 0.5, c + 1.0, c - 1.5, c, 10.0});
    }
    return out;
}

// A strategy from the members given (JSON object text without braces) added to a
// base that enters always and never exits, fixed_qty 1.
StrategySpec spec_of(const std::string& members) {
    std::string text = R"({"symbol":"T","timeframe":"1m","indicators":{},"entry":{"all":[]},"exit":{"any":[]},)"
                       R"("sizing":{"type":"fixed_qty","qty":1})";
    if (!members.empty()) text += "," + members;
    text += "}";
    auto parsed = json::parse(text);
    EXPECT_TRUE(parsed.has_value()) << text;
    auto spec = strategy_spec_from_value(std::move(*parsed));
    EXPECT_TRUE(spec.has_value()) << (spec ? "" : spec.error().message);
    return std::move(*spec);
}

struct Outcome {
    BacktestReport report;
    std::size_t capacity = 0;
    std::uint64_t warmup = 0;
};

Outcome run(const std::string& members, const std::vector<Candle>& candles) {
    auto bt = Backtest::create(spec_of(members), candles.size());
    EXPECT_TRUE(bt.has_value()) << (bt ? "" : bt.error().display());
    Outcome o;
    o.capacity = bt->history_capacity();
    o.warmup = bt->warmup();
    BarInput in;
    for (const Candle& c : candles) {
        in.candle = c;
        auto e = bt->step(in);
        EXPECT_FALSE(e.has_value()) << e->display();
    }
    o.report = std::move(*bt).finish();
    return o;
}

std::string create_error(const std::string& members) {
    auto bt = Backtest::create(spec_of(members), 4);
    return bt ? "created" : bt.error().display();
}

}  // namespace

TEST(BarLoop, WarmupWithCloseAndNextOpenTiming) {
    auto candles = rising(8);
    Outcome c = run(R"("warmup":5,"execution":{"fill_timing":"close"})", candles);
    ASSERT_EQ(c.report.trades.size(), 1u);
    const ClosedTrade& t = c.report.trades[0];
    EXPECT_EQ(t.entry_time, 5000);
    EXPECT_EQ(t.entry_price, 105.0);
    EXPECT_EQ(t.reason, "end");
    EXPECT_EQ(t.exit_time, 7000);
    EXPECT_EQ(t.exit_price, 107.0);
    // One point per bar, warm-up included; the fill shows from the next point on.
    ASSERT_EQ(c.report.equity.size(), 8u);
    for (std::size_t k = 0; k <= 5; ++k) EXPECT_EQ(c.report.equity[k].equity, 10000.0) << k;
    EXPECT_EQ(c.report.equity[6].equity, (10000.0 - 105.0) + 106.0 * 1.0);
    EXPECT_EQ(c.report.equity[6].time, 6000);

    Outcome n = run(R"("warmup":5)", candles);
    ASSERT_EQ(n.report.trades.size(), 1u);
    EXPECT_EQ(n.report.trades[0].entry_time, 6000);
    EXPECT_EQ(n.report.trades[0].entry_price, 105.5);  // bar 6's open
}

TEST(BarLoop, WarmupDefaultsToTheLargestIndicatorWarmup) {
    auto candles = rising(8);
    const std::string ind = R"("indicators":{"a":{"type":"Sma","params":[3]},"b":{"type":"Rsi","params":[2]}})";
    Outcome d = run(ind + R"(,"execution":{"fill_timing":"close"})", candles);
    EXPECT_EQ(d.warmup, 3u);
    EXPECT_EQ(d.report.trades.at(0).entry_time, 3000);
    Outcome z = run(ind + R"(,"warmup":0,"execution":{"fill_timing":"close"})", candles);
    EXPECT_EQ(z.warmup, 0u);
    EXPECT_EQ(z.report.trades.at(0).entry_time, 0);
    // No indicators: rules from the first bar.
    EXPECT_EQ(run("", candles).warmup, 0u);
}

TEST(BarLoop, LongWinsWhenBothEntriesHoldAndShortExitIsUsedForShorts) {
    auto candles = rising(4);
    Outcome both = run(R"("short_entry":{"all":[]},"execution":{"fill_timing":"close"})", candles);
    EXPECT_GT(both.report.trades.at(0).qty, 0.0);

    // Short only; `exit` always holds but a short reads `short_exit`, which never does.
    Outcome s = run(R"("entry":{"any":[]},"short_entry":{"all":[]},"exit":{"all":[]},"short_exit":{"any":[]},)"
                    R"("execution":{"fill_timing":"close"})",
                    candles);
    ASSERT_EQ(s.report.trades.size(), 1u);
    EXPECT_EQ(s.report.trades[0].qty, -1.0);
    EXPECT_EQ(s.report.trades[0].reason, "end");
    // Without short_exit a short reads `exit`.
    Outcome e = run(R"("entry":{"any":[]},"short_entry":{"all":[]},"exit":{"all":[]},)"
                    R"("execution":{"fill_timing":"close"})",
                    candles);
    EXPECT_EQ(e.report.trades.at(0).reason, "signal");
}

TEST(BarLoop, NoReentryAfterACloseExitButAfterAProtectiveExit) {
    // Enter and exit always, at the close: the exit bar is never an entry bar.
    Outcome c = run(R"("exit":{"all":[]},"execution":{"fill_timing":"close"})", rising(6));
    ASSERT_EQ(c.report.trades.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(c.report.trades[k].entry_time, static_cast<std::int64_t>(2 * k) * 1000);
        EXPECT_EQ(c.report.trades[k].exit_time, static_cast<std::int64_t>(2 * k + 1) * 1000);
        EXPECT_EQ(c.report.trades[k].reason, "signal");
    }

    // A stop loss on bar 1 frees the rules of that bar to enter again.
    std::vector<Candle> candles = rising(3);
    candles[1] = Candle{1000, 99.0, 100.0, 90.0, 95.0, 10.0};
    Outcome p = run(R"("risk":{"stop_loss_pct":5},"execution":{"fill_timing":"close"})", candles);
    ASSERT_EQ(p.report.trades.size(), 2u);
    EXPECT_EQ(p.report.trades[0].reason, "stop_loss");
    EXPECT_EQ(p.report.trades[0].exit_price, 95.0);
    EXPECT_EQ(p.report.trades[1].entry_time, 1000);
    EXPECT_EQ(p.report.trades[1].entry_price, 95.0);
}

TEST(BarLoop, LatencyTiming) {
    // Latency 0: placed at bar 0's close, filled at bar 1's open.
    Outcome l0 = run("", rising(5));
    EXPECT_EQ(l0.report.trades.at(0).entry_time, 1000);
    // Latency 2: looked at on bar 0 + 1 + 2.
    Outcome l2 = run(R"("execution":{"latency_bars":2})", rising(5));
    EXPECT_EQ(l2.report.trades.at(0).entry_time, 3000);
    EXPECT_EQ(l2.report.trades.at(0).entry_price, 102.5);
    // An exit rule holding on every bar re-arms the Exit each bar: it never fills,
    // and the position leaves at the end of the run.
    Outcome stuck = run(R"("exit":{"all":[]},"execution":{"latency_bars":2})", rising(12));
    ASSERT_EQ(stuck.report.trades.size(), 1u);
    EXPECT_EQ(stuck.report.trades[0].reason, "end");
    // With latency 0 the same exit fills on the next open, and the rules of that
    // (now flat) bar place the next entry: in on bars 1, 3, 5, out on 2, 4, 6.
    Outcome quick = run(R"("exit":{"all":[]})", rising(7));
    ASSERT_EQ(quick.report.trades.size(), 3u);
    EXPECT_EQ(quick.report.trades[0].entry_time, 1000);
    EXPECT_EQ(quick.report.trades[0].exit_time, 2000);
    EXPECT_EQ(quick.report.trades[0].exit_price, 101.5);
    EXPECT_EQ(quick.report.trades[1].entry_time, 3000);
}

TEST(BarLoop, PendingOrdersBlockEntriesAndNeverExpire) {
    // A buy limit 50% below the close is never reached.
    Outcome o = run(R"("execution":{"order_type":"limit","limit_offset_pct":-50})", rising(10));
    EXPECT_TRUE(o.report.trades.empty());
    // Entry placed at bar 0, filled at bar 2's open (latency 1); the exit rule places
    // an Exit at bar 2's close; the stop loss closes the position on bar 3 while
    // that Exit waits, so bar 3's flat rules place nothing; bar 4 uses the stale
    // Exit up and places the next entry, filled on bar 6.
    std::vector<Candle> candles = rising(8);
    candles[3] = Candle{3000, 102.5, 104.0, 85.0, 90.0, 10.0};
    Outcome s = run(R"("exit":{"all":[]},"risk":{"stop_loss_pct":10},"execution":{"latency_bars":1})", candles);
    ASSERT_EQ(s.report.trades.size(), 2u);
    EXPECT_EQ(s.report.trades[0].reason, "stop_loss");
    EXPECT_EQ(s.report.trades[0].entry_time, 2000);
    EXPECT_EQ(s.report.trades[0].exit_time, 3000);
    EXPECT_EQ(s.report.trades[0].exit_price, 101.5 * ((10.0 / -100.0) + 1.0));
    EXPECT_EQ(s.report.trades[1].entry_time, 6000);
    EXPECT_EQ(s.report.trades[1].reason, "end");
}

TEST(BarLoop, HistoryCapacityAndIndexing) {
    // prev 2 needs 3 bars: the rule on bar 9 (close 109) sees 107 two bars back.
    Outcome o = run(R"("entry":{"eq":[{"prev":[{"price":"close"},2]},107]},"execution":{"fill_timing":"close"})",
                    rising(12));
    EXPECT_EQ(o.capacity, 3u);
    ASSERT_EQ(o.report.trades.size(), 1u);
    EXPECT_EQ(o.report.trades[0].entry_time, 9000);
    // A rule-free strategy keeps one bar.
    EXPECT_EQ(run("", rising(3)).capacity, 1u);
    // A lookback near 2^32 is bounded by the number of candles.
    Outcome huge = run(R"("entry":{"gt":[{"prev":[{"price":"close"},4294967295]},0]})", rising(5));
    EXPECT_EQ(huge.capacity, 5u);
    EXPECT_TRUE(huge.report.trades.empty());
    Outcome rise = run(R"("entry":{"rising":[{"prev":["x",4294967295]},4294967295]},"indicators":{"x":{"type":"Sma","params":[1]}})",
                       rising(4));
    EXPECT_EQ(rise.capacity, 4u);
    // The vol_target lookback counts too.
    EXPECT_EQ(run(R"("sizing":{"type":"vol_target","target_vol":0.01,"lookback":6})", rising(20)).capacity, 7u);
}

TEST(BarLoop, IndicatorValuesAndNamedOutputs) {
    auto candles = rising(10);
    // Keltner(3, 3, 2): upper above middle once it has a value (warm-up 3).
    const std::string kc = R"("indicators":{"kc":{"type":"Keltner","params":[3,3,2]}},"warmup":0,)"
                           R"("execution":{"fill_timing":"close"},)";
    Outcome up = run(kc + R"("entry":{"gt":["kc.upper","kc.middle"]})", candles);
    ASSERT_EQ(up.report.trades.size(), 1u);
    EXPECT_EQ(up.report.trades[0].entry_time, 2000);  // the third bar gives the first value
    Outcome id = run(kc + R"("entry":{"eq":["kc","kc.upper"]})", candles);
    EXPECT_EQ(id.report.trades.at(0).entry_time, 2000);
    // An output the kind never produces: the rule is false on every bar.
    Outcome none = run(kc + R"("entry":{"gt":["kc.nope",0]})", candles);
    EXPECT_TRUE(none.report.trades.empty());
    // A missing value makes the comparison false before the inversion.
    Outcome inv = run(kc + R"("entry":{"not":{"gt":["kc.nope",0]}})", candles);
    EXPECT_EQ(inv.report.trades.at(0).entry_time, 0);
}

TEST(BarLoop, EndOfRunCloseAndFees) {
    // taker 10 bps; entry at bar 0's close 100, end at bar 3's close 103.
    Outcome o = run(R"("costs":{"taker_bps":10},"execution":{"fill_timing":"close"})", rising(4));
    ASSERT_EQ(o.report.trades.size(), 1u);
    const ClosedTrade& t = o.report.trades[0];
    const double rate = 10.0 / 10000.0;
    const double entry_fee = (100.0 * 1.0) * rate;
    const double end_fee = (1.0 * 103.0) * rate;
    EXPECT_EQ(t.reason, "end");
    EXPECT_EQ(t.pnl, 1.0 * (103.0 - 100.0) - entry_fee - end_fee);
    EXPECT_EQ(o.report.fees_paid, entry_fee + end_fee);
    // pnl is the last equity point's, recorded before the end fee.
    const double last = (10000.0 - (100.0 * 1.0 + entry_fee)) + 103.0 * 1.0;
    EXPECT_EQ(o.report.equity.back().equity, last);
    EXPECT_EQ(o.report.metrics.pnl, last - 10000.0);
    EXPECT_EQ(o.report.metrics.num_trades, 1u);
    EXPECT_EQ(o.report.symbol, "T");
    EXPECT_EQ(o.report.timeframe, "1m");
}

TEST(BarLoop, SetupAndStepErrors) {
    EXPECT_EQ(create_error(R"("indicators":{"a":{"type":"Nope"}})"), "unknown indicator type: Nope");
    EXPECT_EQ(create_error(R"("indicators":{"a":{"type":"Sma","params":[0]}})"),
              "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got 0");
    // Indicators are built in id order: the first failing id decides.
    EXPECT_EQ(create_error(R"("indicators":{"b":{"type":"Nope"},"a":{"type":"Zilch"}})"),
              "unknown indicator type: Zilch");
    EXPECT_EQ(create_error(R"("entry":{"gt":["x",1]})"), "rule references undeclared indicator: x");
    EXPECT_EQ(create_error(""), "created");

    // The step's own feed check (the case runner refuses these before any step).
    for (const auto& [members, text] :
         {std::pair<std::string, std::string_view>{R"("costs":{"slippage":{"type":"spread"}})", SPREAD_REFUSAL},
          std::pair<std::string, std::string_view>{R"("costs":{"funding":true})", FUNDING_REFUSAL}}) {
        auto bt = Backtest::create(spec_of(members), 1);
        ASSERT_TRUE(bt.has_value());
        BarInput in;
        in.candle = rising(1)[0];
        auto e = bt->step(in);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->display(), "invalid strategy spec: " + std::string(text));
    }
    EXPECT_EQ(SPREAD_REFUSAL.size(), 116u);
    EXPECT_EQ(FUNDING_REFUSAL.size(), 99u);
}
