#include "backtest/fills.hpp"

#include <cmath>

#include "indicators/core/min_max.hpp"
#include "strategy/rules.hpp"

namespace ostrel {

std::optional<double> estimate_volatility(const BarHistory& history, std::uint32_t lookback) {
    const std::size_t n = lookback;
    if (n < 2 || history.size() < n) return std::nullopt;
    const std::size_t first = history.size() - n;
    // Two passes over the closes instead of a buffer of returns: no allocation.
    std::size_t m = 0;
    double sum = 0.0;
    for (std::size_t k = first; k + 1 < history.size(); ++k) {
        double c0 = history.candle(k).close;
        if (!(std::fabs(c0) > EPSILON)) continue;
        sum += (history.candle(k + 1).close - c0) / c0;
        ++m;
    }
    if (m == 0) return std::nullopt;
    const double count = static_cast<double>(m);
    const double mean = sum / count;
    double sq = 0.0;
    for (std::size_t k = first; k + 1 < history.size(); ++k) {
        double c0 = history.candle(k).close;
        if (!(std::fabs(c0) > EPSILON)) continue;
        double d = (history.candle(k + 1).close - c0) / c0 - mean;
        sq += d * d;
    }
    const double variance = sq / count;
    if (!(variance > 0.0)) return std::nullopt;
    return std::sqrt(variance);
}

double slippage_fraction(const Slippage& s, const Candle& candle, const OrderBook* book, double qty) {
    switch (s.kind) {
        case Slippage::Kind::FixedBps: return s.bps / 10000.0;
        case Slippage::Kind::Spread: {
            if (book == nullptr || book->bids.empty() || book->asks.empty()) return 0.0;
            double b = book->bids.front().price;
            double a = book->asks.front().price;
            double mid = midpoint(b, a);
            return mid > 0.0 ? ((a - b) * 0.5) / mid : 0.0;
        }
        case Slippage::Kind::VolumeImpact: {
            double v = candle.volume;
            return v > 0.0 ? (qty * s.coef) / v : 0.0;
        }
    }
    return 0.0;
}

SizeResult size_position(const Sizing& sizing, const Risk& risk, double equity, double price,
                         std::optional<double> volatility) {
    if (equity <= 0.0 || price <= 0.0) return std::optional<double>();
    double q = 0.0;
    switch (sizing.kind) {
        case Sizing::Kind::FixedFraction: q = (sizing.fraction * equity) / price; break;
        case Sizing::Kind::FixedQty: q = sizing.qty; break;
        case Sizing::Kind::FixedCash: q = sizing.cash / price; break;
        case Sizing::Kind::VolTarget:
            if (!volatility) return std::optional<double>();
            q = ((sizing.target_vol * equity) / *volatility) / price;
            break;
        case Sizing::Kind::RiskPerTrade: {
            if (!risk.stop_loss_pct)
                return BacktestError::invalid_spec("risk_per_trade sizing requires risk.stop_loss_pct");
            double sl = *risk.stop_loss_pct;
            if (sl <= 0.0) return std::optional<double>();
            q = ((sizing.risk_pct * equity) / 100.0) / ((price * sl) / 100.0);
            break;
        }
    }
    if (!(q > 0.0)) return std::optional<double>();
    double cap = equity * risk.max_leverage.value_or(1.0);
    if (risk.max_position_pct) cap = core::min_ignoring_nan(cap, (equity * *risk.max_position_pct) / 100.0);
    q = core::min_ignoring_nan(price * q, cap) / price;
    return std::optional<double>(q);
}

std::optional<BacktestError> entry_fill(Side side, bool maker, const FillContext& ctx, Ledger& ledger,
                                        std::optional<std::uint64_t>& entry_bar, double& trailing_extreme,
                                        double price) {
    const StrategySpec& spec = *ctx.spec;
    const double s = side == Side::Long ? 1.0 : -1.0;

    std::optional<double> vol;
    if (spec.sizing.kind == Sizing::Kind::VolTarget) vol = estimate_volatility(*ctx.history, spec.sizing.lookback);

    double provisional = 0.0;
    if (spec.costs.slippage.kind == Slippage::Kind::VolumeImpact) {
        SizeResult r = size_position(spec.sizing, spec.risk, ledger.cash, price, vol);
        if (!r) return std::move(r).error();
        if (*r) provisional = std::fabs(**r);
    }
    const double f = slippage_fraction(spec.costs.slippage, *ctx.candle, ctx.order_book, provisional);
    const double p = price * (s * f + 1.0);

    SizeResult sized = size_position(spec.sizing, spec.risk, ledger.cash, p, vol);
    if (!sized) return std::move(sized).error();
    if (!*sized) return std::nullopt;
    double q = **sized;
    if (spec.execution.partial_fills)
        q = core::min_ignoring_nan(q, spec.execution.max_participation.value_or(0.0) * ctx.candle->volume);
    if (!(q > 0.0)) return std::nullopt;

    const double rate = maker ? ctx.maker_rate : ctx.taker_rate;
    const double fee = (p * q) * rate;
    ledger.cash = ledger.cash - (p * (s * q) + fee);
    ledger.qty = s * q;
    ledger.entry_price = p;
    ledger.entry_time = ctx.candle->time;
    ledger.entry_fee = fee;
    ledger.fees_paid += fee;
    entry_bar = ctx.index;
    trailing_extreme = p;
    return std::nullopt;
}

void exit_fill(std::string_view reason, const FillContext& ctx, Ledger& ledger,
               std::optional<std::uint64_t>& entry_bar, double price) {
    if (!ledger.in_position()) return;
    const double held = std::fabs(ledger.qty);
    const double f = slippage_fraction(ctx.spec->costs.slippage, *ctx.candle, ctx.order_book, held);
    const double x = ledger.qty > 0.0 ? price * (1.0 - f) : price * (1.0 + f);
    const double fee = ctx.taker_rate * (held * x);
    ledger.close_position(ctx.candle->time, reason, x, fee);
    entry_bar.reset();
}

}  // namespace ostrel
