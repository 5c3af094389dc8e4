// The bar loop: the state of one run and its step over one bar, and the end of the
// run that turns the state into the report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "backtest/error.hpp"
#include "backtest/fills.hpp"
#include "backtest/ledger.hpp"
#include "backtest/orders.hpp"
#include "backtest/report.hpp"
#include "indicators/expected.hpp"
#include "indicators/indicator.hpp"
#include "strategy/eval.hpp"
#include "strategy/history.hpp"
#include "strategy/spec.hpp"

namespace ostrel {

// The refusals of costs that need feeds a run never has.
inline constexpr std::string_view SPREAD_REFUSAL =
    "costs.slippage spread needs an order-book feed; without one every fill              "
    "would be priced at zero slippage";
inline constexpr std::string_view FUNDING_REFUSAL =
    "costs.funding needs a derivatives feed; without one no funding would be              "
    "charged at all";

// What one step receives. A run supplies the candle only.
struct BarInput {
    Candle candle;
    std::span<const Trade> trades;
    std::optional<double> reference;
    std::optional<DerivativesTick> derivatives;
    const OrderBook* order_book = nullptr;
    const std::vector<CrossSectionEntry>* cross_section = nullptr;
};

// One declared indicator, built, with the keys its values are stored under.
struct IndicatorSlot {
    std::unique_ptr<Indicator> indicator;
    IndicatorKeys keys;
    bool outputs_read = false;  // some rule reads an "id.name" key of this indicator
};

class Backtest {
public:
    // Sets up a run of a strategy that has passed its checks: checks it again,
    // builds the indicators in byte order of their ids, takes the warm-up (the
    // strategy's, else the largest of the indicators') and sizes the history
    // for the rules' lookback (and the vol_target lookback) + 1, but never beyond
    // `bars` (the number of candles the run will step; 0 when unknown), which is
    // also reserved for the equity curve.
    static Expected<Backtest, BacktestError> create(StrategySpec spec, std::size_t bars);

    // Everything that happens on one bar, in order: feed check, trade filter, pending
    // order, indicators, history, protective exits, equity point, rules.
    std::optional<BacktestError> step(const BarInput& bar);

    // Closes a position still open at the last close ("end", taker fee, no equity
    // point) and computes the report. Consumes the run.
    BacktestReport finish() &&;

    std::uint64_t warmup() const { return warmup_; }
    std::size_t history_capacity() const { return history_.capacity(); }
    const Ledger& ledger() const { return ledger_; }
    const std::vector<EquityPoint>& equity() const { return equity_; }
    const std::optional<PendingOrder>& pending() const { return pending_; }

private:
    Backtest(StrategySpec spec, std::size_t capacity);
    // The context of a fill on the bar of `candle`: the history as it stands, and the
    // bar's order book for close fills (none for the settlement of a pending order).
    FillContext fill_context(const Candle& candle, const OrderBook* order_book, std::uint64_t index) const;
    std::optional<BacktestError> apply_rules(const Candle& candle, const OrderBook* order_book, std::uint64_t index);

    std::unique_ptr<StrategySpec> spec_;  // fixed addresses: rules and fills point into it
    std::unique_ptr<RuleSet> rules_;      // IndicatorKeys point at its slot table
    std::vector<IndicatorSlot> indicators_;
    BarHistory history_;
    ValueRow row_;
    std::vector<Trade> trades_;  // the bar's valid trades, storage reused
    std::optional<PendingOrder> pending_;
    Ledger ledger_;
    std::vector<EquityPoint> equity_;
    std::optional<std::uint64_t> entry_bar_;
    std::optional<std::pair<std::int64_t, double>> last_bar_;  // time, close
    double trailing_extreme_ = 0.0;
    std::uint64_t bar_count_ = 0;
    std::uint64_t warmup_ = 0;
    double maker_rate_ = 0.0;
    double taker_rate_ = 0.0;
    double initial_capital_ = INITIAL_CAPITAL;
};

}  // namespace ostrel
