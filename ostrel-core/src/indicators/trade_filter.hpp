// Filter over a bar's raw trades: only trades with a finite positive price and a
// finite non-negative size reach the trade-fed indicators.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "indicators/indicator.hpp"

namespace ostrel {

// The check a trade must pass, with the texts of its two failures.
std::optional<IndicatorError> validate_trade(const Trade& t);

// Steps `pos` over `trades` to the next valid trade and returns it (advancing `pos`
// past it), or returns null when none is left. Failing trades are skipped.
const Trade* next_valid_trade(std::span<const Trade> trades, std::size_t& pos);

}  // namespace ostrel
