// One bar that owns every feed a kind can read, and the snapshot an update takes.
#pragma once

#include <optional>
#include <vector>

#include "indicators/indicator.hpp"

namespace feed_bar {

struct FeedBar {
    ostrel::Candle candle;
    std::optional<double> reference;
    std::optional<ostrel::DerivativesTick> derivatives;
    std::vector<ostrel::Trade> trades;
    std::optional<ostrel::OrderBook> book;
    std::optional<std::vector<ostrel::CrossSectionEntry>> cross;

    ostrel::FeedSnapshot snapshot() const {
        ostrel::FeedSnapshot s;
        s.candle = candle;
        s.reference = reference;
        s.derivatives = derivatives;
        s.trades = trades;
        s.order_book = book ? &*book : nullptr;
        s.cross_section = cross ? &*cross : nullptr;
        return s;
    }
};

}  // namespace feed_bar
