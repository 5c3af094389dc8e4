// The backtest report: the metrics of a finished run with its trades and equity.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "backtest/ledger.hpp"
#include "json/value.hpp"

namespace ostrel {

// Plain per-bar statistics: no annualisation, no risk-free rate; every division is
// guarded. profit_factor and calmar may be +infinity.
struct Metrics {
    double pnl = 0.0;
    double return_pct = 0.0;
    double sharpe = 0.0;
    double sortino = 0.0;
    double calmar = 0.0;
    double max_drawdown = 0.0;  // percent
    double win_rate = 0.0;      // percent
    double profit_factor = 0.0;
    std::uint64_t num_trades = 0;

    bool operator==(const Metrics&) const = default;
};

struct BacktestReport {
    std::string symbol;
    std::string timeframe;
    std::vector<ClosedTrade> trades;
    std::vector<EquityPoint> equity;
    Metrics metrics;
    double fees_paid = 0.0;
    double initial_capital = INITIAL_CAPITAL;
    std::uint32_t schema_version = 1;

    // The report as a JSON object: times, num_trades and schema_version as integers,
    // every other number as a float, non-finite floats as null.
    json::Value to_json() const;
};

// The metrics of an equity curve and the closed trades of a run.
Metrics compute_metrics(std::span<const EquityPoint> equity, std::span<const ClosedTrade> trades,
                        double initial_capital);

}  // namespace ostrel
