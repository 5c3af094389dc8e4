#include "indicators/trade_filter.hpp"

#include <cmath>

namespace ostrel {

std::optional<IndicatorError> validate_trade(const Trade& t) {
    if (!std::isfinite(t.price) || !(t.price > 0.0))
        return IndicatorError::invalid_trade("trade price must be finite and positive");
    if (!std::isfinite(t.size) || t.size < 0.0)
        return IndicatorError::invalid_trade("trade size must be finite and non-negative");
    return std::nullopt;
}

const Trade* next_valid_trade(std::span<const Trade> trades, std::size_t& pos) {
    while (pos < trades.size()) {
        const Trade& t = trades[pos++];
        if (!validate_trade(t)) return &t;  // a failing check's error is discarded
    }
    return nullptr;
}

}  // namespace ostrel
