// Fills: volatility estimate, slippage, position sizing with its cap, and the entry
// and exit fills that move cash and position through the ledger.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "backtest/error.hpp"
#include "backtest/ledger.hpp"
#include "indicators/expected.hpp"
#include "indicators/indicator.hpp"
#include "strategy/history.hpp"
#include "strategy/spec.hpp"

namespace ostrel {

enum class Side : std::uint8_t { Long, Short };

// What a fill may read of the run and the bar.
struct FillContext {
    const StrategySpec* spec = nullptr;
    const Candle* candle = nullptr;
    const BarHistory* history = nullptr;  // as it stands at the fill
    const OrderBook* order_book = nullptr;  // none in a run
    double maker_rate = 0.0;
    double taker_rate = 0.0;
    std::uint64_t index = 0;  // the bar's 0-based index
};

// Population standard deviation of the simple returns over the closes of the last
// `lookback` bars (pairs whose first close is within EPSILON of 0 skipped); none when
// lookback < 2, the history holds fewer bars, no return exists or the variance is
// not above 0.
std::optional<double> estimate_volatility(const BarHistory& history, std::uint32_t lookback);

// The unsigned slippage fraction of a fill; `qty` is the quantity traded (used by
// volume impact only).
double slippage_fraction(const Slippage& s, const Candle& candle, const OrderBook* book, double qty);

using SizeResult = Expected<std::optional<double>, BacktestError>;

// The quantity to open at `price` with `equity` (none: no trade), capped so that the
// notional stays within equity x max_leverage and equity x max_position_pct / 100.
// Fails only for risk_per_trade sizing without a stop loss.
SizeResult size_position(const Sizing& sizing, const Risk& risk, double equity, double price,
                         std::optional<double> volatility);

// Opens a position for `side` at `price` (before slippage) while flat. maker picks
// the maker rate (triggered limit orders only). A size of none or not above 0 opens
// nothing and succeeds.
std::optional<BacktestError> entry_fill(Side side, bool maker, const FillContext& ctx, Ledger& ledger,
                                        std::optional<std::uint64_t>& entry_bar, double& trailing_extreme,
                                        double price);

// Closes the whole position at `price` less slippage with the taker fee; nothing
// when flat.
void exit_fill(std::string_view reason, const FillContext& ctx, Ledger& ledger,
               std::optional<std::uint64_t>& entry_bar, double price);

}  // namespace ostrel
