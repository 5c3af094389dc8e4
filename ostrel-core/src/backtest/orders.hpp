// Pending orders (placed at one bar's close, looked at on a later bar) and the
// protective exits of an open position.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "backtest/fills.hpp"
#include "backtest/ledger.hpp"
#include "indicators/indicator.hpp"
#include "strategy/spec.hpp"

namespace ostrel {

struct PendingOrder {
    enum class Kind : std::uint8_t { Exit, MarketEntry, Limit, Stop, StopLimit };

    Kind kind = Kind::MarketEntry;
    Side side = Side::Long;        // entries only
    double price = 0.0;            // Limit: the limit; Stop, StopLimit: the stop
    double limit_price = 0.0;      // StopLimit only
    std::string_view reason;       // Exit only: "signal"
    std::uint32_t countdown = 0;   // bars still to wait before the order is looked at

    bool operator==(const PendingOrder&) const = default;
};

// The Exit placed when an exit rule holds with next_open timing.
PendingOrder exit_order(std::uint32_t latency_bars);

// The entry order for `side` placed at a bar whose close is `close`; prices are the
// close times (offset / 100 + 1), the same offsets for both sides.
PendingOrder entry_order(Side side, const Execution& execution, double close);

// The fill price of a Limit, Stop or StopLimit entry on `bar`, or none when the bar
// does not reach the order's price.
std::optional<double> triggered_price(const PendingOrder& order, const Candle& bar);

// Looks at the pending order on the bar of `ctx` (whose history must not yet hold
// that bar): counts down, or takes the order off and fills it at the open (Exit,
// MarketEntry) or at its trigger price; an untriggered order goes back with
// countdown 0. Fails only with the error of an entry fill.
std::optional<BacktestError> settle_pending(std::optional<PendingOrder>& pending, const FillContext& ctx,
                                            Ledger& ledger, std::optional<std::uint64_t>& entry_bar,
                                            double& trailing_extreme);

// One exit decided by the protective checks.
struct ProtectiveHit {
    double price = 0.0;
    std::string_view reason;
};

// Moves the trailing extreme with the bar and returns the first protective exit that
// the bar reaches (stop loss, trailing stop, take profit, then liquidation), if any.
// The position must be open.
std::optional<ProtectiveHit> check_protective_exits(const Risk& risk, const Ledger& ledger,
                                                    double& trailing_extreme, const Candle& bar);

// The protective exits of one bar: when a check hits, the whole position closes at
// its price with the taker fee and no slippage, and the entry bar is cleared.
void apply_protective_exits(const Risk& risk, double taker_rate, const Candle& bar, Ledger& ledger,
                            std::optional<std::uint64_t>& entry_bar, double& trailing_extreme);

}  // namespace ostrel
