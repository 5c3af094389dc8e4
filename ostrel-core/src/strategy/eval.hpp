// Evaluation of a strategy's rules over the engine's bar history.
//
// `RuleSet` is built once per run from a checked `StrategySpec`: it numbers every key
// that the rules reference (`slots()`, see strategy/history.hpp) and compiles each
// rule into a flat node list whose references point at those slots. Evaluating a rule
// then reads the history by index and slot only: no text lookups and no allocation.
//
// On each bar from the warm-up on, the engine builds a `PositionInfo` and evaluates
// at i = history.size() - 1 (the current bar, last in the history):
//   PositionInfo pos{entry_bar.has_value(), uint32_t(index - *entry_bar), |qty| > EPSILON};
//   rules.exit.eval(history, i, pos);   // or *rules.short_exit for a short, when present
//   rules.entry.eval(history, i, pos);  // then *rules.short_entry, when present
// The history needs `lookback() + 1` bars of capacity for every index a rule computes
// to lie inside it once enough bars have passed; before that a rule that reaches
// back further than the history is simply false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "strategy/history.hpp"
#include "strategy/rules.hpp"

namespace ostrel {

struct StrategySpec;

// What a rule knows of the position.
struct PositionInfo {
    bool entry_recorded = false;          // an entry bar is on record
    std::uint32_t bars_since_entry = 0;   // current bar index minus the entry bar's, wrapping
    bool in_position = false;             // |qty| > EPSILON
};

class CompiledRule {
public:
    CompiledRule() = default;
    // References not found in `slots` read as absent on every bar.
    CompiledRule(const Condition& c, const SlotTable& slots);

    // The truth of the rule at index i of the history.
    bool eval(const BarHistory& h, std::size_t i, const PositionInfo& pos) const;

    // A lone operand compiled the same way, read with `value` (none when absent).
    static CompiledRule for_operand(const Operand& o, const SlotTable& slots);
    std::optional<double> value(const BarHistory& h, std::size_t i) const;

private:
    struct OpNode {
        Operand::Kind kind;
        PriceField field;
        std::uint32_t n;      // Prev
        std::uint32_t slot;   // IndicatorRef
        std::uint32_t left;   // Prev: the operand; arithmetic: left
        std::uint32_t right;  // arithmetic: right
        double constant;
    };
    struct CondNode {
        Condition::Kind kind;  // never Not: Not chains become `invert`
        bool invert;
        bool flag;             // InPosition
        CmpOp op;              // BarsSinceEntry
        std::uint32_t n;       // Rising, Falling, BarsSinceEntry
        std::uint32_t a, b, c; // operand nodes
        std::uint32_t first;   // All, Any: first entry in children_
        std::uint32_t count;   // All, Any: number of children
    };

    std::uint32_t compile_op(const Operand& o, const SlotTable& slots);
    std::uint32_t compile_cond(const Condition& c, const SlotTable& slots);
    std::optional<double> eval_op(std::uint32_t k, const BarHistory& h, std::size_t i) const;
    bool eval_cond(std::uint32_t k, const BarHistory& h, std::size_t i, const PositionInfo& pos) const;

    std::vector<OpNode> ops_;
    std::vector<CondNode> conds_;
    std::vector<std::uint32_t> children_;
    std::uint32_t root_ = 0;       // a condition node, or an operand node for for_operand
    bool empty_ = true;            // default-constructed: all of nothing, always true
};

// The compiled rules of one strategy and the slots they read.
class RuleSet {
public:
    explicit RuleSet(const StrategySpec& spec);

    const SlotTable& slots() const { return slots_; }
    // Largest lookback of entry, exit and the short rules present.
    std::uint64_t lookback() const { return lookback_; }

    CompiledRule entry;
    CompiledRule exit;
    std::optional<CompiledRule> short_entry;
    std::optional<CompiledRule> short_exit;

private:
    SlotTable slots_;
    std::uint64_t lookback_ = 0;
};

}  // namespace ostrel
