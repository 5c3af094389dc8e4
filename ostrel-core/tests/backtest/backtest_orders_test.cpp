#include <gtest/gtest.h>

#include <optional>

#include "backtest/fills.hpp"
#include "backtest/orders.hpp"
#include "strategy/history.hpp"
#include "strategy/spec.hpp"

using namespace ostrel;

namespace {

Candle bar(double o, double h, double l, double c, std::int64_t t = 0) { return Candle{t, o, h, l, c, 1000.0}; }

PendingOrder order(PendingOrder::Kind k, Side s, double price, double limit = 0.0) {
    PendingOrder o;
    o.kind = k;
    o.side = s;
    o.price = price;
    o.limit_price = limit;
    return o;
}

using K = PendingOrder::Kind;

// A long (qty > 0) or short position entered at `entry`.
Ledger position(double qty, double entry, double cash) {
    Ledger l;
    l.qty = qty;
    l.entry_price = entry;
    l.cash = cash;
    return l;
}

std::optional<ProtectiveHit> hit(const Risk& r, const Ledger& l, double extreme, const Candle& c) {
    return check_protective_exits(r, l, extreme, c);
}

}  // namespace

TEST(OrderTriggers, LongLimitStopAndStopLimit) {
    // A limit at 99: the better open, else the limit.
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Long, 99), bar(98, 100, 97, 99)), 98.0);
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Long, 99), bar(101, 102, 99, 100)), 99.0);
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Long, 99), bar(101, 102, 99.5, 100)), std::nullopt);
    // A stop at 105 gapped through at the open fills at the open.
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Long, 105), bar(107, 108, 106, 107)), 107.0);
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Long, 105), bar(100, 106, 99, 101)), 105.0);
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Long, 105), bar(100, 104, 99, 101)), std::nullopt);
    // Stop 105, limit 106: min(106, max(107, 105)).
    EXPECT_EQ(triggered_price(order(K::StopLimit, Side::Long, 105, 106), bar(107, 108, 104, 107)), 106.0);
    EXPECT_EQ(triggered_price(order(K::StopLimit, Side::Long, 105, 106), bar(103, 104, 102, 103)), std::nullopt);
    EXPECT_EQ(triggered_price(order(K::StopLimit, Side::Long, 105, 106), bar(107, 108, 106.5, 107)), std::nullopt);
}

TEST(OrderTriggers, ShortSideMirrors) {
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Short, 101), bar(102, 103, 100, 101)), 102.0);
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Short, 101), bar(99, 101, 98, 100)), 101.0);
    EXPECT_EQ(triggered_price(order(K::Limit, Side::Short, 101), bar(99, 100.5, 98, 100)), std::nullopt);
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Short, 95), bar(93, 94, 92, 93)), 93.0);
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Short, 95), bar(96, 97, 95, 96)), 95.0);
    EXPECT_EQ(triggered_price(order(K::Stop, Side::Short, 95), bar(96, 97, 95.5, 96)), std::nullopt);
    // Stop 95, limit 94: max(94, min(93, 95)).
    EXPECT_EQ(triggered_price(order(K::StopLimit, Side::Short, 95, 94), bar(93, 96, 92, 93)), 94.0);
    EXPECT_EQ(triggered_price(order(K::StopLimit, Side::Short, 95, 94), bar(93, 93.5, 92, 93)), std::nullopt);
}

TEST(OrderPlacement, OffsetsApplyWithTheirSignToBothSides) {
    Execution ex;
    ex.latency_bars = 2;
    PendingOrder m = entry_order(Side::Short, ex, 100.0);
    EXPECT_EQ(m.kind, K::MarketEntry);
    EXPECT_EQ(m.side, Side::Short);
    EXPECT_EQ(m.countdown, 2u);

    ex.order_type = OrderType::Limit;
    ex.limit_offset_pct = -1.0;
    EXPECT_EQ(entry_order(Side::Long, ex, 100.0).price, 100.0 * ((-1.0 / 100.0) + 1.0));
    EXPECT_EQ(entry_order(Side::Short, ex, 100.0).price, 100.0 * ((-1.0 / 100.0) + 1.0));

    ex.order_type = OrderType::StopLimit;
    ex.stop_offset_pct = 5.0;
    ex.limit_offset_pct = 6.0;
    PendingOrder sl = entry_order(Side::Long, ex, 100.0);
    EXPECT_EQ(sl.kind, K::StopLimit);
    EXPECT_EQ(sl.price, 100.0 * ((5.0 / 100.0) + 1.0));
    EXPECT_EQ(sl.limit_price, 100.0 * ((6.0 / 100.0) + 1.0));

    // An absent offset leaves the close itself.
    Execution bare;
    bare.order_type = OrderType::Stop;
    EXPECT_EQ(entry_order(Side::Long, bare, 123.25).price, 123.25);

    PendingOrder x = exit_order(3);
    EXPECT_EQ(x.kind, K::Exit);
    EXPECT_EQ(x.reason, "signal");
    EXPECT_EQ(x.countdown, 3u);
}

TEST(OrderSettlement, CountdownTriggerAndWaiting) {
    StrategySpec spec;
    spec.sizing = Sizing::fixed_qty(1);
    BarHistory history(4, 0);
    Ledger ledger;
    std::optional<std::uint64_t> entry_bar;
    double extreme = 0.0;
    Candle c = bar(100, 101, 99, 100, 77);
    FillContext ctx;
    ctx.spec = &spec;
    ctx.candle = &c;
    ctx.history = &history;
    ctx.maker_rate = 0.001;
    ctx.taker_rate = 0.01;
    ctx.index = 4;

    std::optional<PendingOrder> pending = order(K::Limit, Side::Long, 95);
    pending->countdown = 1;
    ASSERT_FALSE(settle_pending(pending, ctx, ledger, entry_bar, extreme));
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->countdown, 0u);
    // Not reached: back with countdown 0, never expiring.
    for (int k = 0; k < 3; ++k) {
        ASSERT_FALSE(settle_pending(pending, ctx, ledger, entry_bar, extreme));
        ASSERT_TRUE(pending);
        EXPECT_EQ(*pending, order(K::Limit, Side::Long, 95));
    }
    // Reached: filled at the limit with the maker rate; the entry bar is this bar.
    c = bar(97, 98, 94, 96, 78);
    ASSERT_FALSE(settle_pending(pending, ctx, ledger, entry_bar, extreme));
    EXPECT_FALSE(pending);
    EXPECT_EQ(ledger.entry_price, 95.0);
    EXPECT_EQ(ledger.entry_fee, (95.0 * 1.0) * 0.001);
    EXPECT_EQ(ledger.entry_time, 78);
    EXPECT_EQ(entry_bar, 4u);

    // A stop entry pays the taker rate.
    Ledger l2;
    std::optional<std::uint64_t> eb2;
    pending = order(K::Stop, Side::Long, 96);
    ASSERT_FALSE(settle_pending(pending, ctx, l2, eb2, extreme));
    EXPECT_EQ(l2.entry_price, 97.0);
    EXPECT_EQ(l2.entry_fee, 97.0 * 0.01);

    // An Exit at the open; a stale one (flat ledger) is simply used up.
    pending = exit_order(0);
    ASSERT_FALSE(settle_pending(pending, ctx, ledger, entry_bar, extreme));
    EXPECT_FALSE(pending);
    ASSERT_EQ(ledger.trades.size(), 1u);
    EXPECT_EQ(ledger.trades[0].exit_price, 97.0);
    EXPECT_EQ(entry_bar, std::nullopt);
    pending = exit_order(0);
    ASSERT_FALSE(settle_pending(pending, ctx, ledger, entry_bar, extreme));
    EXPECT_FALSE(pending);
    EXPECT_EQ(ledger.trades.size(), 1u);
}

TEST(ProtectiveExits, StopLossLevelAndGap) {
    Risk r;
    r.stop_loss_pct = 5.0;
    Ledger l = position(1.0, 100.0, 9900.0);
    EXPECT_EQ(hit(r, l, 100, bar(99, 100, 94, 96))->price, 100.0 * ((5.0 / -100.0) + 1.0));
    EXPECT_EQ(hit(r, l, 100, bar(99, 100, 94, 96))->reason, "stop_loss");
    EXPECT_EQ(hit(r, l, 100, bar(93, 94, 92, 93))->price, 93.0);
    EXPECT_FALSE(hit(r, l, 100, bar(99, 100, 95.5, 96)));
    // A short's stop is above its entry.
    Ledger s = position(-1.0, 100.0, 10100.0);
    EXPECT_EQ(hit(r, s, 100, bar(101, 106, 100, 104))->price, 100.0 * ((5.0 / 100.0) + 1.0));
    EXPECT_EQ(hit(r, s, 100, bar(107, 108, 106, 107))->price, 107.0);
}

TEST(ProtectiveExits, OrderTrailingAndTakeProfit) {
    Risk r;
    r.stop_loss_pct = 5.0;
    r.take_profit_pct = 5.0;
    Ledger l = position(1.0, 100.0, 9900.0);
    // Both reached on one bar: the stop loss decides.
    EXPECT_EQ(hit(r, l, 100, bar(100, 106, 94, 100))->reason, "stop_loss");
    // Take profit at its level, or the better open.
    EXPECT_EQ(hit(r, l, 100, bar(101, 106, 100, 104))->price, 100.0 * ((5.0 / 100.0) + 1.0));
    EXPECT_EQ(hit(r, l, 100, bar(107, 108, 106, 107))->price, 107.0);
    Ledger s = position(-1.0, 100.0, 10100.0);
    EXPECT_EQ(hit(r, s, 100, bar(99, 100, 94, 96))->reason, "take_profit");
    EXPECT_EQ(hit(r, s, 100, bar(93, 94, 92, 93))->price, 93.0);

    // The trailing extreme moves with the bar before the levels are tested.
    Risk t;
    t.trailing_stop_pct = 10.0;
    double extreme = 100.0;
    EXPECT_FALSE(check_protective_exits(t, l, extreme, bar(100, 120, 109, 115)));
    EXPECT_EQ(extreme, 120.0);
    auto h = check_protective_exits(t, l, extreme, bar(110, 112, 100, 101));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->reason, "trailing_stop");
    EXPECT_EQ(h->price, 120.0 * ((10.0 / -100.0) + 1.0));
    double low = 100.0;
    EXPECT_FALSE(check_protective_exits(t, s, low, bar(85, 87, 80, 85)));
    EXPECT_EQ(low, 80.0);
    EXPECT_EQ(check_protective_exits(t, s, low, bar(85, 90, 84, 89))->price, 80.0 * ((10.0 / 100.0) + 1.0));
}

TEST(ProtectiveExits, Liquidation) {
    Risk r;
    r.liquidation = true;
    // A long never liquidates while cash is at or above 0.
    EXPECT_FALSE(hit(r, position(1.0, 100.0, 0.0), 100, bar(1, 1, 0.0001, 1)));
    // A leveraged long with cash -20000 on 300 units: liquidation at 20000 / 300.
    Ledger lev = position(300.0, 100.0, -20000.0);
    EXPECT_FALSE(hit(r, lev, 100, bar(70, 71, 67, 70)));
    auto h = hit(r, lev, 100, bar(70, 71, 60, 65));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->reason, "liquidation");
    EXPECT_EQ(h->price, 20000.0 / 300.0);  // the price itself, no gap rule
    // A short is liquidated once the high reaches cash / |qty|.
    Ledger s = position(-100.0, 100.0, 20000.0);
    EXPECT_FALSE(hit(r, s, 100, bar(150, 199, 140, 150)));
    EXPECT_EQ(hit(r, s, 100, bar(150, 200, 140, 150))->price, 200.0);
    // Only when no other exit hit; entry 0 skips the level tests.
    Risk both = r;
    both.stop_loss_pct = 1.0;
    EXPECT_EQ(hit(both, s, 100, bar(150, 200, 140, 150))->reason, "stop_loss");
    EXPECT_EQ(hit(both, position(-100.0, 0.0, 20000.0), 100, bar(150, 200, 140, 150))->reason, "liquidation");
}

TEST(ProtectiveExits, ApplyClosesWithTakerFeeAndNoSlippage) {
    Risk r;
    r.stop_loss_pct = 5.0;
    Ledger l = position(2.0, 100.0, 9800.0);
    std::optional<std::uint64_t> entry_bar = 3;
    double extreme = 100.0;
    apply_protective_exits(r, 0.001, bar(99, 100, 94, 96, 555), l, entry_bar, extreme);
    ASSERT_EQ(l.trades.size(), 1u);
    EXPECT_EQ(l.trades[0].exit_price, 95.0);
    EXPECT_EQ(l.trades[0].exit_time, 555);
    EXPECT_EQ(l.fees_paid, (2.0 * 95.0) * 0.001);
    EXPECT_EQ(entry_bar, std::nullopt);
    // Flat: nothing, not even the extreme moves.
    extreme = 1.0;
    apply_protective_exits(r, 0.001, bar(99, 100, 94, 96), l, entry_bar, extreme);
    EXPECT_EQ(l.trades.size(), 1u);
    EXPECT_EQ(extreme, 1.0);
}
