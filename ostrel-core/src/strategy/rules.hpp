// The rule language of a strategy: conditions over operands, as read from a
// `StrategySpec`. These trees are the read-only description of a rule; the engine
// evaluates them through `CompiledRule` (strategy/eval.hpp), which resolves every
// indicator reference to a value slot once, before the first bar.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "backtest/error.hpp"

namespace ostrel {

// Tolerance of every equality test between floats.
inline constexpr double EPSILON = 2.220446049250313e-16;

enum class PriceField : std::uint8_t { Open, High, Low, Close, Volume, Hlc3, Ohlc4 };

// Operator of bars_since_entry; the codes follow the JSON names gt, lt, ge, le, eq.
enum class CmpOp : std::uint8_t { Gt, Lt, Ge, Le, Eq };

// A value a rule reads on a bar. The three operand forms (a reference, a constant,
// an expression) and the six expression forms are held in one flat kind:
//   IndicatorRef: `ref` is a key of the bar's values ("id" or "id.output");
//   Constant:     `constant`;
//   Price:        `field` of the bar's candle;
//   Prev:         `args[0]` evaluated `n` bars earlier;
//   Add/Sub/Mul/Div: `args[0]` (left) and `args[1]` (right).
struct Operand {
    enum class Kind : std::uint8_t { IndicatorRef, Constant, Price, Prev, Add, Sub, Mul, Div };

    Kind kind = Kind::Constant;
    std::string ref;
    double constant = 0.0;
    PriceField field = PriceField::Close;
    std::uint32_t n = 0;
    std::vector<Operand> args;

    static Operand reference(std::string key);
    static Operand value(double v);
    static Operand price(PriceField f);
    static Operand prev(Operand op, std::uint32_t n);
    static Operand arith(Kind k, Operand left, Operand right);  // k is Add, Sub, Mul or Div

    // Bars before the evaluated one that evaluation may read.
    std::uint64_t lookback() const;
    // Every reference's id (the text before the first '.') must be declared; the
    // error carries the whole reference.
    std::optional<BacktestError> check_refs(const std::set<std::string, std::less<>>& ids) const;

    bool operator==(const Operand&) const = default;
};

// A rule node. Which members are used depends on the kind:
//   Gt..CrossBelow: `operands` a, b;  Between: x, lo, hi;
//   Rising/Falling: `operands[0]` and the bar count `n`;
//   All/Any: `children` (possibly none);  Not: `children[0]`;
//   InPosition: `flag`;  BarsSinceEntry: `op` and `n`.
struct Condition {
    enum class Kind : std::uint8_t {
        Gt, Lt, Ge, Le, Eq, Ne, CrossAbove, CrossBelow, Between,
        Rising, Falling, All, Any, Not, InPosition, BarsSinceEntry,
    };

    Kind kind = Kind::All;  // default: all of nothing, which always holds
    std::vector<Operand> operands;
    std::vector<Condition> children;
    std::uint32_t n = 0;
    CmpOp op = CmpOp::Gt;
    bool flag = false;

    // k is one of Gt..CrossBelow.
    static Condition compare(Kind k, Operand a, Operand b);
    static Condition between(Operand x, Operand lo, Operand hi);
    static Condition rising(Operand op, std::uint32_t n);
    static Condition falling(Operand op, std::uint32_t n);
    static Condition all(std::vector<Condition> cs);
    static Condition any(std::vector<Condition> cs);
    static Condition negate(Condition c);
    static Condition in_position(bool b);
    static Condition bars_since_entry(CmpOp op, std::uint32_t n);

    // Bars before the evaluated one that evaluation may read; sums saturate at the
    // largest unsigned 64-bit value.
    std::uint64_t lookback() const;
    // Depth first, left to right; the first undeclared reference wins.
    std::optional<BacktestError> check_refs(const std::set<std::string, std::less<>>& ids) const;

    bool operator==(const Condition&) const = default;
};

// The JSON names of the condition kinds, in code order ("gt" .. "bars_since_entry").
std::string_view condition_key(Condition::Kind k);

}  // namespace ostrel
