// Reading a `StrategySpec` and its parts from the JSON value tree.
//
// Every reader takes the value by reference and may move strings and subtrees out of
// it; it returns no fault, or the first fault with its whole message (the caller adds
// its own prefix). Records accept the object form and, except the `StrategySpec`
// itself, the array form; members are visited in key byte order, the first fault wins,
// and missing required fields are reported afterwards in declaration order.
#pragma once

#include <optional>

#include "json/read.hpp"
#include "json/value.hpp"
#include "strategy/spec.hpp"

namespace ostrel::strategy_read {

json::Fault read_operand(json::Value& v, Operand& out);
json::Fault read_condition(json::Value& v, Condition& out);
json::Fault read_feed(json::Value& v, Feed& out);
json::Fault read_indicator_spec(json::Value& v, IndicatorSpec& out);
json::Fault read_sizing(json::Value& v, Sizing& out);
json::Fault read_slippage(json::Value& v, Slippage& out);
json::Fault read_costs(json::Value& v, Costs& out);
json::Fault read_risk(json::Value& v, Risk& out);
json::Fault read_order_type(json::Value& v, OrderType& out);
json::Fault read_fill_timing(json::Value& v, FillTiming& out);
json::Fault read_execution(json::Value& v, Execution& out);
json::Fault read_strategy_spec(json::Value& v, StrategySpec& out);

}  // namespace ostrel::strategy_read

namespace ostrel {

// The `StrategySpec` from a value tree that the reader takes over, or the reading
// error whose message is the whole text (no position).
json::Read<StrategySpec> strategy_spec_from_value(json::Value v);

}  // namespace ostrel
