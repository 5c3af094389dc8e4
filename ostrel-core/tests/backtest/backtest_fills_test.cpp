#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "backtest/fills.hpp"
#include "backtest/ledger.hpp"
#include "strategy/history.hpp"
#include "strategy/spec.hpp"

using namespace ostrel;

namespace {

Candle bar(double o, double h, double l, double c, double v = 0.0, std::int64_t t = 0) {
    return Candle{t, o, h, l, c, v};
}

// A history holding bars with these closes.
BarHistory closes_history(const std::vector<double>& closes, std::size_t capacity = 16) {
    BarHistory h(capacity, 0);
    ValueRow row(0);
    for (double c : closes) h.push(bar(c, c, c, c), row);
    return h;
}

struct FillRun {
    StrategySpec spec;
    BarHistory history{8, 0};
    Ledger ledger;
    std::optional<std::uint64_t> entry_bar;
    double extreme = 0.0;
    Candle candle = bar(100, 100, 100, 100, 1000, 42);

    FillContext ctx(double taker = 0.0, double maker = 0.0, std::uint64_t index = 7) {
        FillContext c;
        c.spec = &spec;
        c.candle = &candle;
        c.history = &history;
        c.maker_rate = maker;
        c.taker_rate = taker;
        c.index = index;
        return c;
    }
};

}  // namespace

// The sizes themselves are rows of data/orders.txt (backtest_orders_test.cpp).
TEST(SizePosition, RiskPerTradeWithoutStopFailsOnlyWhenSizing) {
    SizeResult r = size_position(Sizing::risk_per_trade(1.0), Risk{}, 10000, 50, std::nullopt);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().display(), "invalid strategy spec: risk_per_trade sizing requires risk.stop_loss_pct");
}

// Spread slippage: half the quoted spread over the mid; nothing without both sides or a
// positive mid.
TEST(Slippage, SpreadFromTheBook) {
    const Candle c = bar(100, 100, 100, 100);
    OrderBook book;
    EXPECT_EQ(slippage_fraction(Slippage::spread(), c, &book, 1.0), 0.0);
    book.bids.push_back(BookLevel{99.0, 1.0});
    book.asks.push_back(BookLevel{101.0, 1.0});
    EXPECT_EQ(slippage_fraction(Slippage::spread(), c, &book, 1.0), ((101.0 - 99.0) * 0.5) / 100.0);
    book.bids[0].price = -101.0;
    EXPECT_EQ(slippage_fraction(Slippage::spread(), c, &book, 1.0), 0.0);
}

TEST(Volatility, AvailabilityAndValue) {
    EXPECT_EQ(estimate_volatility(closes_history({100, 110, 99}), 1), std::nullopt);
    EXPECT_EQ(estimate_volatility(closes_history({100, 110}), 3), std::nullopt);
    EXPECT_EQ(estimate_volatility(closes_history({100, 100, 100, 100}), 3), std::nullopt);
    // Returns 0.1 and -0.1: mean 0, population deviation 0.1.
    EXPECT_EQ(estimate_volatility(closes_history({50, 100, 110, 99}), 3), 0.1);
    // Only the last n closes count; a pair starting at 0 is skipped.
    EXPECT_EQ(estimate_volatility(closes_history({1, 2, 0, 100, 110, 99}), 4), 0.1);
    EXPECT_EQ(estimate_volatility(closes_history({5, 0, 7}), 2), std::nullopt);
    // The ring of a full history reads oldest first.
    EXPECT_EQ(estimate_volatility(closes_history({7, 8, 9, 100, 110, 99}, 3), 3), 0.1);
}

TEST(EntryFill, FixedBpsSlippageBothSidesAndFee) {
    FillRun r;
    r.spec.sizing = Sizing::fixed_fraction(0.5);
    r.spec.costs.slippage = Slippage::fixed_bps(10);
    ASSERT_FALSE(entry_fill(Side::Long, false, r.ctx(0.001), r.ledger, r.entry_bar, r.extreme, 100.0));
    const double p = 100 * (0.001 + 1);  // 100.1
    EXPECT_EQ(r.ledger.entry_price, p);
    const double q0 = (0.5 * 10000) / p;
    const double q = std::fmin(p * q0, 10000.0) / p;  // the cap division always applies
    EXPECT_EQ(r.ledger.qty, q);
    const double fee = (p * q) * 0.001;
    EXPECT_EQ(r.ledger.entry_fee, fee);
    EXPECT_EQ(r.ledger.fees_paid, fee);
    EXPECT_EQ(r.ledger.cash, 10000 - (p * q + fee));
    EXPECT_EQ(r.ledger.entry_time, 42);
    EXPECT_EQ(r.entry_bar, 7u);
    EXPECT_EQ(r.extreme, p);

    // Exit of that long at 110: 109.89, taker fee on the exit value.
    exit_fill("signal", r.ctx(0.001), r.ledger, r.entry_bar, 110.0);
    ASSERT_EQ(r.ledger.trades.size(), 1u);
    const ClosedTrade& t = r.ledger.trades[0];
    EXPECT_EQ(t.exit_price, 110 * (1 - 0.001));
    EXPECT_DOUBLE_EQ(t.exit_price, 109.89);
    EXPECT_EQ(t.reason, "signal");
    EXPECT_EQ(r.entry_bar, std::nullopt);
    EXPECT_EQ(r.ledger.qty, 0.0);

    FillRun s;
    s.spec.sizing = Sizing::fixed_qty(2);
    s.spec.costs.slippage = Slippage::fixed_bps(10);
    ASSERT_FALSE(entry_fill(Side::Short, false, s.ctx(), s.ledger, s.entry_bar, s.extreme, 100.0));
    EXPECT_EQ(s.ledger.entry_price, 100 * (-0.001 + 1));  // 99.9
    EXPECT_EQ(s.ledger.qty, -2.0);
    EXPECT_EQ(s.ledger.cash, 10000 + 2 * 99.9);  // short proceeds
    exit_fill("signal", s.ctx(), s.ledger, s.entry_bar, 110.0);
    EXPECT_EQ(s.ledger.trades[0].exit_price, 110 * (1 + 0.001));
    EXPECT_DOUBLE_EQ(s.ledger.trades[0].exit_price, 110.11);
}

TEST(EntryFill, MakerRateVolumeImpactAndPartialFills) {
    FillRun r;
    r.spec.sizing = Sizing::fixed_qty(5);
    ASSERT_FALSE(entry_fill(Side::Long, true, r.ctx(0.002, 0.0005), r.ledger, r.entry_bar, r.extreme, 100.0));
    EXPECT_EQ(r.ledger.entry_fee, (100.0 * 5.0) * 0.0005);

    // Volume impact: the provisional size 5 at the unslipped price, (5 x 0.2) / 1000.
    FillRun v;
    v.spec.sizing = Sizing::fixed_qty(5);
    v.spec.costs.slippage = Slippage::volume_impact(0.2);
    ASSERT_FALSE(entry_fill(Side::Long, false, v.ctx(), v.ledger, v.entry_bar, v.extreme, 100.0));
    EXPECT_EQ(v.ledger.entry_price, 100.0 * ((5.0 * 0.2) / 1000.0 + 1.0));
    // ... and none on a bar without volume.
    FillRun z;
    z.candle.volume = 0.0;
    z.spec.sizing = Sizing::fixed_qty(5);
    z.spec.costs.slippage = Slippage::volume_impact(0.2);
    ASSERT_FALSE(entry_fill(Side::Long, false, z.ctx(), z.ledger, z.entry_bar, z.extreme, 100.0));
    EXPECT_EQ(z.ledger.entry_price, 100.0);

    // Partial fills: at most 0.1 x 30 of a bar of volume 30.
    FillRun p;
    p.candle.volume = 30.0;
    p.spec.sizing = Sizing::fixed_qty(5);
    p.spec.execution.partial_fills = true;
    p.spec.execution.max_participation = 0.1;
    ASSERT_FALSE(entry_fill(Side::Long, false, p.ctx(), p.ledger, p.entry_bar, p.extreme, 100.0));
    EXPECT_EQ(p.ledger.qty, 0.1 * 30.0);
    // A bar without volume fills nothing, and that is no error.
    FillRun n;
    n.candle.volume = 0.0;
    n.spec.sizing = Sizing::fixed_qty(5);
    n.spec.execution.partial_fills = true;
    n.spec.execution.max_participation = 0.1;
    ASSERT_FALSE(entry_fill(Side::Long, false, n.ctx(), n.ledger, n.entry_bar, n.extreme, 100.0));
    EXPECT_EQ(n.ledger.qty, 0.0);
    EXPECT_EQ(n.entry_bar, std::nullopt);
    EXPECT_EQ(n.ledger.cash, INITIAL_CAPITAL);
}

TEST(EntryFill, VolTargetReadsTheHistoryAndRiskErrorLeavesTheLedger) {
    FillRun r;
    r.spec.sizing = Sizing::vol_target(0.02, 3);
    r.history = closes_history({50, 100, 110, 99});
    ASSERT_FALSE(entry_fill(Side::Long, false, r.ctx(), r.ledger, r.entry_bar, r.extreme, 100.0));
    EXPECT_EQ(r.ledger.qty, ((0.02 * 10000) / 0.1) / 100.0);

    FillRun e;
    e.spec.sizing = Sizing::risk_per_trade(1.0);  // no stop loss
    auto err = entry_fill(Side::Long, false, e.ctx(), e.ledger, e.entry_bar, e.extreme, 100.0);
    ASSERT_TRUE(err.has_value());
    EXPECT_EQ(err->display(), "invalid strategy spec: risk_per_trade sizing requires risk.stop_loss_pct");
    EXPECT_EQ(e.ledger.cash, INITIAL_CAPITAL);
    EXPECT_EQ(e.ledger.fees_paid, 0.0);
}

TEST(Ledger, ClosePositionBooksPnlAndReturn) {
    Ledger l;
    l.qty = 3.0;
    l.entry_price = 100.0;
    l.entry_time = 5;
    l.close_position(9, "signal", 100.0, 0.0);
    ASSERT_EQ(l.trades.size(), 1u);
    EXPECT_EQ(l.trades[0].pnl, 0.0);
    EXPECT_EQ(l.trades[0].return_pct, 0.0);
    EXPECT_EQ(l.cash, 10000.0 + 300.0);

    Ledger s;
    s.qty = -2.0;
    s.entry_price = 100.0;
    s.entry_time = 1;
    s.entry_fee = 0.0;
    s.close_position(2, "take_profit", 90.0, 0.0);
    const ClosedTrade& t = s.trades[0];
    EXPECT_EQ(t.pnl, 20.0);
    EXPECT_EQ(t.return_pct, 10.0);
    EXPECT_EQ(t.qty, -2.0);
    EXPECT_EQ(t.entry_time, 1);
    EXPECT_EQ(t.exit_time, 2);
    EXPECT_EQ(s.cash, 10000.0 - 180.0);
    EXPECT_EQ(s.qty, 0.0);
    EXPECT_EQ(s.entry_price, 100.0);  // kept after the close

    // Both fees count against the trade; the entry fee is cleared.
    Ledger f;
    f.qty = 1.0;
    f.entry_price = 100.0;
    f.entry_fee = 0.5;
    f.fees_paid = 0.5;
    f.close_position(0, "end", 110.0, 0.25);
    EXPECT_EQ(f.trades[0].pnl, 1.0 * (110.0 - 100.0) - 0.5 - 0.25);
    EXPECT_EQ(f.fees_paid, 0.75);
    EXPECT_EQ(f.entry_fee, 0.0);
    EXPECT_EQ(f.cash, 10000.0 + (110.0 * 1.0 - 0.25));

    // A notional within EPSILON of 0 gives a return of 0.
    Ledger z;
    z.qty = 1.0;
    z.entry_price = 0.0;
    z.close_position(0, "signal", 5.0, 0.0);
    EXPECT_EQ(z.trades[0].return_pct, 0.0);
}

TEST(ExitFill, FlatLedgerIsUntouched) {
    FillRun r;
    r.entry_bar = 3;
    exit_fill("signal", r.ctx(0.01), r.ledger, r.entry_bar, 100.0);
    EXPECT_TRUE(r.ledger.trades.empty());
    EXPECT_EQ(r.entry_bar, 3u);
    EXPECT_EQ(r.ledger.cash, INITIAL_CAPITAL);
    r.ledger.qty = 1e-17;  // below EPSILON: not a position
    exit_fill("signal", r.ctx(0.01), r.ledger, r.entry_bar, 100.0);
    EXPECT_TRUE(r.ledger.trades.empty());
}
