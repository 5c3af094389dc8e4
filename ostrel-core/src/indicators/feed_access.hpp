// How the multi-feed kinds read their feed from a snapshot: the (close, reference)
// pair, the bar's trades, the order book's best levels and the quote midpoint.
// Every helper answers "unusable" instead of failing, so a kind can return nothing
// and leave its state untouched.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/trade_filter.hpp"

namespace ostrel::core {

// A kind's own minimum window length first (0 included), then MAX_PERIOD.
inline std::optional<IndicatorError> check_min_period(std::size_t period, std::size_t min, const char* detail) {
    if (period < min) return IndicatorError::invalid_period(detail);
    if (period > MAX_PERIOD) return IndicatorError::too_long();
    return std::nullopt;
}

// x = candle close, y = reference value.
struct PairInput {
    double x;
    double y;
};

// The pair of a bar: the reference must be present and both values finite. The
// candle itself is not put through the candle checks.
inline std::optional<PairInput> pair_input(const FeedSnapshot& f) {
    if (!f.reference) return std::nullopt;
    const double x = f.candle.close;
    const double y = *f.reference;
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return PairInput{x, y};
}

// +1 for a buyer-initiated trade, -1 for a seller-initiated one.
inline double trade_sign(const Trade& t) { return t.is_sell ? -1.0 : 1.0; }

// +size for a buy, -size for a sell.
inline double signed_size(const Trade& t) { return t.is_sell ? -t.size : t.size; }

// Calls fn(trade) for each trade of the bar that passes the trade check,
// in arrival order; returns false (having called nothing) when none passes. The
// engine hands over filtered trades already; filtering again keeps a hand-built
// snapshot with a broken trade from reaching a kind's window.
template <class F>
bool for_each_trade(const FeedSnapshot& f, F&& fn) {
    std::size_t pos = 0;
    bool any = false;
    while (const Trade* t = next_valid_trade(f.trades, pos)) {
        fn(*t);
        any = true;
    }
    return any;
}

// The last trade of the bar that passes the trade check, or null.
inline const Trade* last_trade(const FeedSnapshot& f) {
    std::size_t pos = 0;
    const Trade* last = nullptr;
    while (const Trade* t = next_valid_trade(f.trades, pos)) last = t;
    return last;
}

// Best bid and best ask of a book with both sides non-empty.
struct BestQuote {
    BookLevel bid;
    BookLevel ask;
};

inline std::optional<BestQuote> best_quote(const OrderBook* book) {
    if (!book || book->bids.empty() || book->asks.empty()) return std::nullopt;
    return BestQuote{book->bids.front(), book->asks.front()};
}

// The quote midpoint when the bar has a book with both sides, else the close; it
// must be finite and above 0 to be usable.
inline std::optional<double> reference_mid(const FeedSnapshot& f) {
    const auto q = best_quote(f.order_book);
    const double mid = q ? midpoint(q->bid.price, q->ask.price) : f.candle.close;
    if (!std::isfinite(mid) || !(mid > 0.0)) return std::nullopt;
    return mid;
}

// (B - A) / (B + A) over the sizes of the first `bid_levels` bids and the first
// `ask_levels` asks (each at most the side's depth), summed from 0 in book order;
// 0 unless B + A is above 0.
inline double depth_imbalance(const OrderBook& book, std::size_t bid_levels, std::size_t ask_levels) {
    double b = 0.0, a = 0.0;
    for (std::size_t i = 0; i < bid_levels; ++i) b = b + book.bids[i].size;
    for (std::size_t i = 0; i < ask_levels; ++i) a = a + book.asks[i].size;
    if (!(b + a > 0.0)) return 0.0;
    return (b - a) / (b + a);
}

}  // namespace ostrel::core
