// The position ledger: cash, the one open position and the closed trades.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace ostrel {

// Cash every run starts with.
inline constexpr double INITIAL_CAPITAL = 10000.0;

// One closed position. `reason` is one of the static texts "signal", "end",
// "stop_loss", "trailing_stop", "take_profit" or "liquidation".
struct ClosedTrade {
    std::string_view reason;
    std::int64_t entry_time = 0;
    std::int64_t exit_time = 0;
    double entry_price = 0.0;
    double exit_price = 0.0;
    double qty = 0.0;  // signed: above 0 long, below 0 short
    double pnl = 0.0;
    double return_pct = 0.0;

    bool operator==(const ClosedTrade&) const = default;
};

// One point per bar stepped: cash + close x qty after the bar's settlement and
// protective exits, before its rules.
struct EquityPoint {
    std::int64_t time = 0;
    double equity = 0.0;

    bool operator==(const EquityPoint&) const = default;
};

struct Ledger {
    std::vector<ClosedTrade> trades;
    double cash = INITIAL_CAPITAL;
    double qty = 0.0;
    double entry_price = 0.0;  // kept after a close
    std::int64_t entry_time = 0;  // kept after a close
    double entry_fee = 0.0;    // 0 after a close
    double fees_paid = 0.0;

    // A position counts as open when |qty| exceeds the float epsilon.
    bool in_position() const;

    // Books the close of the whole position at `exit_price` with `fee`, records the
    // trade (both fees count against its pnl) and leaves the ledger flat.
    void close_position(std::int64_t exit_time, std::string_view reason, double exit_price, double fee);
};

}  // namespace ostrel
