#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "backtest/fills.hpp"
#include "backtest/orders.hpp"
#include "strategy/history.hpp"
#include "strategy/spec.hpp"
#include "support/table_file.hpp"

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

Candle candle(const std::string& cell) {
    double p[4] = {0, 0, 0, 0};
    std::sscanf(cell.c_str(), "%lf,%lf,%lf,%lf", &p[0], &p[1], &p[2], &p[3]);
    return bar(p[0], p[1], p[2], p[3]);
}

}  // namespace

// The rows of data/orders.txt: order triggers, protective exits and position sizes.
TEST(Orders, TriggersProtectiveExitsAndSizes) {
    const std::vector<std::string> kinds = {"Exit", "MarketEntry", "Limit", "Stop", "StopLimit"};  // in order
    for (const auto& r : table_file::read("backtest/data/orders.txt")) {
        const std::string where = "orders.txt line " + std::to_string(r.line);
        if (r[0] == "trigger") {
            auto k = static_cast<K>(std::find(kinds.begin(), kinds.end(), r[1]) - kinds.begin());
            auto o = order(k, r[2] == "Long" ? Side::Long : Side::Short, r.num(3), r.opt(4).value_or(0.0));
            EXPECT_EQ(triggered_price(o, candle(r[5])), r.opt(6)) << where;
        } else if (r[0] == "protect") {
            Risk risk;
            risk.stop_loss_pct = r.opt(1);
            risk.take_profit_pct = r.opt(2);
            risk.trailing_stop_pct = r.opt(3);
            risk.liquidation = r.num(4) == 1.0;
            double extreme = r.num(8);
            auto h = check_protective_exits(risk, position(r.num(5), r.num(6), r.num(7)), extreme, candle(r[9]));
            EXPECT_EQ(h ? h->reason : std::string("-"), r[10]) << where;
            if (h && r[11] != "?") EXPECT_EQ(h->price, r.num(11)) << where;
            if (r.size() > 12) EXPECT_EQ(extreme, r.num(12)) << where;
        } else {
            const std::string& k = r[1];
            const double a = r.num(2);
            Sizing sz = k == "fixed_qty"        ? Sizing::fixed_qty(a)
                        : k == "fixed_fraction" ? Sizing::fixed_fraction(a)
                        : k == "fixed_cash"     ? Sizing::fixed_cash(a)
                        : k == "risk_per_trade" ? Sizing::risk_per_trade(a)
                                                : Sizing::vol_target(a, static_cast<std::uint32_t>(r.num(3)));
            Risk risk;
            risk.max_leverage = r.opt(4);
            risk.max_position_pct = r.opt(5);
            risk.stop_loss_pct = r.opt(6);
            SizeResult got = size_position(sz, risk, r.num(7), r.num(8), r.opt(9));
            ASSERT_TRUE(got.has_value()) << where;
            EXPECT_EQ(*got, r.opt(10)) << where;
        }
    }
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
