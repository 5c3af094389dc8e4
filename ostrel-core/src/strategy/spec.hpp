// `StrategySpec`, a strategy: declared indicators, rules, sizing, costs, risk limits
// and execution settings, with the defaults of absent members, and its checks.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "backtest/error.hpp"
#include "indicators/indicator.hpp"
#include "strategy/rules.hpp"

namespace ostrel {

struct IndicatorSpec {
    std::string type;               // kind name, as the catalogue knows it
    std::vector<double> params;     // passed to the catalogue in this order
    std::optional<Feed> feed;       // the feed the author declares, if any

    bool operator==(const IndicatorSpec&) const = default;
};

// How large a position is. Only the fields of `kind` are meaningful.
struct Sizing {
    enum class Kind : std::uint8_t { FixedFraction, FixedQty, FixedCash, VolTarget, RiskPerTrade };

    Kind kind = Kind::FixedFraction;
    double fraction = 0.0;    // FixedFraction: share of equity spent
    double qty = 0.0;         // FixedQty: quantity
    double cash = 0.0;        // FixedCash: cash spent
    double target_vol = 0.0;  // VolTarget: target volatility ...
    std::uint32_t lookback = 0;  // ... estimated over this many closes
    double risk_pct = 0.0;    // RiskPerTrade: percentage of equity risked to the stop

    static Sizing fixed_fraction(double f) { Sizing s; s.kind = Kind::FixedFraction; s.fraction = f; return s; }
    static Sizing fixed_qty(double q) { Sizing s; s.kind = Kind::FixedQty; s.qty = q; return s; }
    static Sizing fixed_cash(double c) { Sizing s; s.kind = Kind::FixedCash; s.cash = c; return s; }
    static Sizing vol_target(double tv, std::uint32_t n) {
        Sizing s; s.kind = Kind::VolTarget; s.target_vol = tv; s.lookback = n; return s;
    }
    static Sizing risk_per_trade(double r) { Sizing s; s.kind = Kind::RiskPerTrade; s.risk_pct = r; return s; }

    bool operator==(const Sizing&) const = default;
};

struct Slippage {
    enum class Kind : std::uint8_t { FixedBps, Spread, VolumeImpact };

    Kind kind = Kind::FixedBps;
    double bps = 0.0;   // FixedBps: fraction bps / 10000 of the price
    double coef = 0.0;  // VolumeImpact: coefficient on the order's share of the volume

    static Slippage fixed_bps(double b) { Slippage s; s.kind = Kind::FixedBps; s.bps = b; return s; }
    static Slippage spread() { Slippage s; s.kind = Kind::Spread; return s; }
    static Slippage volume_impact(double c) { Slippage s; s.kind = Kind::VolumeImpact; s.coef = c; return s; }

    bool operator==(const Slippage&) const = default;
};

struct Costs {
    double maker_bps = 0.0;
    double taker_bps = 0.0;
    Slippage slippage;  // fixed_bps 0
    bool funding = false;

    bool operator==(const Costs&) const = default;
};

struct Risk {
    std::optional<double> stop_loss_pct;
    std::optional<double> take_profit_pct;
    std::optional<double> trailing_stop_pct;
    std::optional<double> max_leverage;      // none: notional capped at 1.0 x equity
    std::optional<double> max_position_pct;  // none: no cap
    bool liquidation = false;

    bool operator==(const Risk&) const = default;
};

enum class OrderType : std::uint8_t { Market, Limit, Stop, StopLimit };
enum class FillTiming : std::uint8_t { NextOpen, Close };

struct Execution {
    OrderType order_type = OrderType::Market;
    FillTiming fill_timing = FillTiming::NextOpen;
    std::optional<double> limit_offset_pct;
    std::optional<double> stop_offset_pct;
    std::uint32_t latency_bars = 0;
    bool partial_fills = false;
    std::optional<double> max_participation;

    bool operator==(const Execution&) const = default;
};

// Indicator ids map to their declarations; the map's byte order of ids is the order
// in which indicators are built and updated.
using IndicatorMap = std::map<std::string, IndicatorSpec>;

struct StrategySpec {
    std::uint32_t spec_version = 1;
    std::string symbol;
    std::optional<std::string> ref_symbol;
    std::string timeframe;
    IndicatorMap indicators;
    Condition entry;
    Condition exit;
    std::optional<Condition> short_entry;
    std::optional<Condition> short_exit;
    Sizing sizing;
    Costs costs;
    Risk risk;
    Execution execution;
    std::optional<std::uint32_t> warmup;

    // The consistency checks, in a fixed order; the first failure is returned
    // (UndeclaredIndicator for a rule reference, InvalidSpec otherwise). Pure.
    std::optional<BacktestError> validate() const;

    // The largest lookback of entry, exit and the short rules present.
    std::uint64_t rule_lookback() const;

    bool operator==(const StrategySpec&) const = default;
};

}  // namespace ostrel
