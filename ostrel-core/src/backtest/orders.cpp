#include "backtest/orders.hpp"

#include <cmath>

#include "indicators/core/min_max.hpp"

namespace ostrel {

PendingOrder exit_order(std::uint32_t latency_bars) {
    PendingOrder o;
    o.kind = PendingOrder::Kind::Exit;
    o.reason = "signal";
    o.countdown = latency_bars;
    return o;
}

namespace orders_detail {

double offset_price(double close, const std::optional<double>& offset_pct) {
    return offset_pct ? close * ((*offset_pct / 100.0) + 1.0) : close;
}

}  // namespace orders_detail

PendingOrder entry_order(Side side, const Execution& execution, double close) {
    PendingOrder o;
    o.side = side;
    o.countdown = execution.latency_bars;
    switch (execution.order_type) {
        case OrderType::Market: o.kind = PendingOrder::Kind::MarketEntry; break;
        case OrderType::Limit:
            o.kind = PendingOrder::Kind::Limit;
            o.price = orders_detail::offset_price(close, execution.limit_offset_pct);
            break;
        case OrderType::Stop:
            o.kind = PendingOrder::Kind::Stop;
            o.price = orders_detail::offset_price(close, execution.stop_offset_pct);
            break;
        case OrderType::StopLimit:
            o.kind = PendingOrder::Kind::StopLimit;
            o.price = orders_detail::offset_price(close, execution.stop_offset_pct);
            o.limit_price = orders_detail::offset_price(close, execution.limit_offset_pct);
            break;
    }
    return o;
}

std::optional<double> triggered_price(const PendingOrder& order, const Candle& bar) {
    const double o = bar.open, h = bar.high, l = bar.low;
    const double p = order.price;
    const bool long_side = order.side == Side::Long;
    switch (order.kind) {
        case PendingOrder::Kind::Limit:
            if (long_side) {
                if (l <= p) return core::min_ignoring_nan(o, p);
            } else if (h >= p) {
                return core::max_ignoring_nan(o, p);
            }
            return std::nullopt;
        case PendingOrder::Kind::Stop:
            if (long_side) {
                if (h >= p) return core::max_ignoring_nan(o, p);
            } else if (l <= p) {
                return core::min_ignoring_nan(o, p);
            }
            return std::nullopt;
        case PendingOrder::Kind::StopLimit: {
            const double lim = order.limit_price;
            if (long_side) {
                if (h >= p && l <= lim) return core::min_ignoring_nan(lim, core::max_ignoring_nan(o, p));
            } else if (l <= p && h >= lim) {
                return core::max_ignoring_nan(lim, core::min_ignoring_nan(o, p));
            }
            return std::nullopt;
        }
        case PendingOrder::Kind::Exit:
        case PendingOrder::Kind::MarketEntry: return bar.open;
    }
    return std::nullopt;
}

std::optional<BacktestError> settle_pending(std::optional<PendingOrder>& pending, const FillContext& ctx,
                                            Ledger& ledger, std::optional<std::uint64_t>& entry_bar,
                                            double& trailing_extreme) {
    if (!pending) return std::nullopt;
    if (pending->countdown > 0) {
        --pending->countdown;
        return std::nullopt;
    }
    const PendingOrder order = *pending;
    pending.reset();
    const Candle& bar = *ctx.candle;
    switch (order.kind) {
        case PendingOrder::Kind::Exit:
            exit_fill(order.reason, ctx, ledger, entry_bar, bar.open);
            return std::nullopt;
        case PendingOrder::Kind::MarketEntry:
            return entry_fill(order.side, false, ctx, ledger, entry_bar, trailing_extreme, bar.open);
        case PendingOrder::Kind::Limit:
        case PendingOrder::Kind::Stop:
        case PendingOrder::Kind::StopLimit: {
            std::optional<double> price = triggered_price(order, bar);
            if (!price) {
                // Orders never expire: it waits, looked at again on the next bar.
                pending = order;
                pending->countdown = 0;
                return std::nullopt;
            }
            const bool maker = order.kind == PendingOrder::Kind::Limit;
            return entry_fill(order.side, maker, ctx, ledger, entry_bar, trailing_extreme, *price);
        }
    }
    return std::nullopt;
}

std::optional<ProtectiveHit> check_protective_exits(const Risk& risk, const Ledger& ledger,
                                                    double& trailing_extreme, const Candle& bar) {
    const double o = bar.open, h = bar.high, l = bar.low;
    const bool long_side = ledger.qty > 0.0;
    trailing_extreme =
        long_side ? core::max_ignoring_nan(trailing_extreme, h) : core::min_ignoring_nan(trailing_extreme, l);

    const double entry = ledger.entry_price;
    if (entry > 0.0) {
        if (risk.stop_loss_pct) {
            const double pct = *risk.stop_loss_pct;
            if (long_side) {
                const double level = entry * ((pct / -100.0) + 1.0);
                if (l <= level) return ProtectiveHit{core::min_ignoring_nan(level, o), "stop_loss"};
            } else {
                const double level = entry * ((pct / 100.0) + 1.0);
                if (h >= level) return ProtectiveHit{core::max_ignoring_nan(level, o), "stop_loss"};
            }
        }
        if (risk.trailing_stop_pct) {
            const double pct = *risk.trailing_stop_pct;
            if (long_side) {
                const double level = trailing_extreme * ((pct / -100.0) + 1.0);
                if (l <= level) return ProtectiveHit{core::min_ignoring_nan(level, o), "trailing_stop"};
            } else {
                const double level = trailing_extreme * ((pct / 100.0) + 1.0);
                if (h >= level) return ProtectiveHit{core::max_ignoring_nan(level, o), "trailing_stop"};
            }
        }
        if (risk.take_profit_pct) {
            const double pct = *risk.take_profit_pct;
            if (long_side) {
                const double level = entry * ((pct / 100.0) + 1.0);
                if (h >= level) return ProtectiveHit{core::max_ignoring_nan(level, o), "take_profit"};
            } else {
                const double level = entry * ((pct / -100.0) + 1.0);
                if (l <= level) return ProtectiveHit{core::min_ignoring_nan(level, o), "take_profit"};
            }
        }
    }
    if (risk.liquidation) {
        const double price = (-ledger.cash) / ledger.qty;
        if (price > 0.0 && (long_side ? l <= price : h >= price)) return ProtectiveHit{price, "liquidation"};
    }
    return std::nullopt;
}

void apply_protective_exits(const Risk& risk, double taker_rate, const Candle& bar, Ledger& ledger,
                            std::optional<std::uint64_t>& entry_bar, double& trailing_extreme) {
    if (!ledger.in_position()) return;
    std::optional<ProtectiveHit> hit = check_protective_exits(risk, ledger, trailing_extreme, bar);
    if (!hit) return;
    const double fee = (std::fabs(ledger.qty) * hit->price) * taker_rate;
    ledger.close_position(bar.time, hit->reason, hit->price, fee);
    entry_bar.reset();
}

}  // namespace ostrel
