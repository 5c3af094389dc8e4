#include "backtest/ledger.hpp"

#include <cmath>

#include "strategy/rules.hpp"

namespace ostrel {

bool Ledger::in_position() const { return std::fabs(qty) > EPSILON; }

void Ledger::close_position(std::int64_t exit_time, std::string_view reason, double exit_price, double fee) {
    cash = cash + (exit_price * qty - fee);
    fees_paid += fee;
    double pnl = qty * (exit_price - entry_price) - entry_fee - fee;
    double notional = std::fabs(qty) * entry_price;
    double return_pct = std::fabs(notional) < EPSILON ? 0.0 : (pnl / notional) * 100.0;
    trades.push_back(ClosedTrade{reason, entry_time, exit_time, entry_price, exit_price, qty, pnl, return_pct});
    qty = 0.0;
    entry_fee = 0.0;
}

}  // namespace ostrel
