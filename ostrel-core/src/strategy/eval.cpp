#include "strategy/eval.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "strategy/spec.hpp"

namespace ostrel {

namespace strategy_detail {

inline void collect_refs(const Operand& o, std::vector<std::string>& out) {
    if (o.kind == Operand::Kind::IndicatorRef) out.push_back(o.ref);
    for (const Operand& a : o.args) collect_refs(a, out);
}

inline void collect_refs(const Condition& c, std::vector<std::string>& out) {
    for (const Operand& o : c.operands) collect_refs(o, out);
    for (const Condition& ch : c.children) collect_refs(ch, out);
}

inline double price_of(const Candle& c, PriceField f) {
    switch (f) {
        case PriceField::Open: return c.open;
        case PriceField::High: return c.high;
        case PriceField::Low: return c.low;
        case PriceField::Close: return c.close;
        case PriceField::Volume: return c.volume;
        case PriceField::Hlc3: return ((c.high + c.low) + c.close) / 3.0;
        case PriceField::Ohlc4: return (((c.open + c.high) + c.low) + c.close) * 0.25;
    }
    return 0.0;
}

}  // namespace strategy_detail

CompiledRule::CompiledRule(const Condition& c, const SlotTable& slots) {
    root_ = compile_cond(c, slots);
    empty_ = false;
}

CompiledRule CompiledRule::for_operand(const Operand& o, const SlotTable& slots) {
    CompiledRule r;
    r.root_ = r.compile_op(o, slots);
    return r;
}

std::optional<double> CompiledRule::value(const BarHistory& h, std::size_t i) const {
    return eval_op(root_, h, i);
}

std::uint32_t CompiledRule::compile_op(const Operand& o, const SlotTable& slots) {
    OpNode node{o.kind, o.field, o.n, SlotTable::npos, 0, 0, o.constant};
    switch (o.kind) {
        case Operand::Kind::IndicatorRef: node.slot = slots.find(o.ref); break;
        case Operand::Kind::Constant:
        case Operand::Kind::Price: break;
        case Operand::Kind::Prev: node.left = compile_op(o.args[0], slots); break;
        case Operand::Kind::Add:
        case Operand::Kind::Sub:
        case Operand::Kind::Mul:
        case Operand::Kind::Div:
            node.left = compile_op(o.args[0], slots);
            node.right = compile_op(o.args[1], slots);
            break;
    }
    ops_.push_back(node);
    return static_cast<std::uint32_t>(ops_.size() - 1);
}

std::uint32_t CompiledRule::compile_cond(const Condition& c0, const SlotTable& slots) {
    // A chain of Not wrappers becomes one inversion flag: only its parity matters.
    const Condition* c = &c0;
    bool invert = false;
    while (c->kind == Condition::Kind::Not) {
        invert = !invert;
        c = &c->children[0];
    }
    CondNode node{c->kind, invert, c->flag, c->op, c->n, 0, 0, 0, 0, 0};
    switch (c->kind) {
        case Condition::Kind::Between: node.c = compile_op(c->operands[2], slots); [[fallthrough]];
        case Condition::Kind::Gt:
        case Condition::Kind::Lt:
        case Condition::Kind::Ge:
        case Condition::Kind::Le:
        case Condition::Kind::Eq:
        case Condition::Kind::Ne:
        case Condition::Kind::CrossAbove:
        case Condition::Kind::CrossBelow:
            node.a = compile_op(c->operands[0], slots);
            node.b = compile_op(c->operands[1], slots);
            break;
        case Condition::Kind::Rising:
        case Condition::Kind::Falling: node.a = compile_op(c->operands[0], slots); break;
        case Condition::Kind::All:
        case Condition::Kind::Any: {
            std::vector<std::uint32_t> kids;
            kids.reserve(c->children.size());
            for (const Condition& ch : c->children) kids.push_back(compile_cond(ch, slots));
            node.first = static_cast<std::uint32_t>(children_.size());
            node.count = static_cast<std::uint32_t>(kids.size());
            children_.insert(children_.end(), kids.begin(), kids.end());
            break;
        }
        case Condition::Kind::Not:  // stripped above
        case Condition::Kind::InPosition:
        case Condition::Kind::BarsSinceEntry: break;
    }
    conds_.push_back(node);
    return static_cast<std::uint32_t>(conds_.size() - 1);
}

std::optional<double> CompiledRule::eval_op(std::uint32_t k, const BarHistory& h, std::size_t i) const {
    if (i >= h.size()) return std::nullopt;
    const OpNode& o = ops_[k];
    switch (o.kind) {
        case Operand::Kind::IndicatorRef: return h.value(i, o.slot);
        case Operand::Kind::Constant: return o.constant;
        case Operand::Kind::Price: return strategy_detail::price_of(h.candle(i), o.field);
        case Operand::Kind::Prev:
            if (i < o.n) return std::nullopt;
            return eval_op(o.left, h, i - o.n);
        case Operand::Kind::Add:
        case Operand::Kind::Sub:
        case Operand::Kind::Mul:
        case Operand::Kind::Div: {
            std::optional<double> l = eval_op(o.left, h, i);
            std::optional<double> r = eval_op(o.right, h, i);
            if (!l || !r) return std::nullopt;
            switch (o.kind) {
                case Operand::Kind::Add: return *l + *r;
                case Operand::Kind::Sub: return *l - *r;
                case Operand::Kind::Mul: return *l * *r;
                default:
                    if (std::fabs(*r) < EPSILON) return std::numeric_limits<double>::quiet_NaN();
                    return *l / *r;
            }
        }
    }
    return std::nullopt;
}

bool CompiledRule::eval(const BarHistory& h, std::size_t i, const PositionInfo& pos) const {
    if (empty_) return true;
    return eval_cond(root_, h, i, pos);
}

bool CompiledRule::eval_cond(std::uint32_t k, const BarHistory& h, std::size_t i,
                             const PositionInfo& pos) const {
    const CondNode& c = conds_[k];
    bool r = false;
    switch (c.kind) {
        case Condition::Kind::Gt:
        case Condition::Kind::Lt:
        case Condition::Kind::Ge:
        case Condition::Kind::Le:
        case Condition::Kind::Eq:
        case Condition::Kind::Ne: {
            std::optional<double> a = eval_op(c.a, h, i);
            if (!a) break;
            std::optional<double> b = eval_op(c.b, h, i);
            if (!b) break;
            switch (c.kind) {
                case Condition::Kind::Gt: r = *a > *b; break;
                case Condition::Kind::Lt: r = *a < *b; break;
                case Condition::Kind::Ge: r = *a >= *b; break;
                case Condition::Kind::Le: r = *a <= *b; break;
                case Condition::Kind::Eq: r = std::fabs(*a - *b) < EPSILON; break;
                default: r = std::fabs(*a - *b) >= EPSILON; break;
            }
            break;
        }
        case Condition::Kind::CrossAbove:
        case Condition::Kind::CrossBelow: {
            if (i == 0) break;
            std::optional<double> a = eval_op(c.a, h, i);
            std::optional<double> b = eval_op(c.b, h, i);
            std::optional<double> pa = eval_op(c.a, h, i - 1);
            std::optional<double> pb = eval_op(c.b, h, i - 1);
            if (!a || !b || !pa || !pb) break;
            if (c.kind == Condition::Kind::CrossAbove)
                r = *pa <= *pb && *a > *b;
            else
                r = *pa >= *pb && *a < *b;
            break;
        }
        case Condition::Kind::Between: {
            std::optional<double> x = eval_op(c.a, h, i);
            std::optional<double> lo = eval_op(c.b, h, i);
            std::optional<double> hi = eval_op(c.c, h, i);
            if (!x || !lo || !hi) break;
            r = *lo <= *x && *x <= *hi;
            break;
        }
        case Condition::Kind::Rising:
        case Condition::Kind::Falling: {
            if (i < c.n) break;
            std::optional<double> now = eval_op(c.a, h, i);
            std::optional<double> then = eval_op(c.a, h, i - c.n);
            if (!now || !then) break;
            r = c.kind == Condition::Kind::Rising ? *now > *then : *now < *then;
            break;
        }
        case Condition::Kind::All:
            r = true;
            for (std::uint32_t j = 0; j < c.count; ++j)
                if (!eval_cond(children_[c.first + j], h, i, pos)) {
                    r = false;
                    break;
                }
            break;
        case Condition::Kind::Any:
            for (std::uint32_t j = 0; j < c.count; ++j)
                if (eval_cond(children_[c.first + j], h, i, pos)) {
                    r = true;
                    break;
                }
            break;
        case Condition::Kind::Not:  // never compiled
            break;
        case Condition::Kind::InPosition: r = c.flag == pos.in_position; break;
        case Condition::Kind::BarsSinceEntry: {
            if (!pos.entry_recorded) break;
            std::uint32_t n = pos.bars_since_entry;
            switch (c.op) {
                case CmpOp::Gt: r = n > c.n; break;
                case CmpOp::Lt: r = n < c.n; break;
                case CmpOp::Ge: r = n >= c.n; break;
                case CmpOp::Le: r = n <= c.n; break;
                case CmpOp::Eq: r = n == c.n; break;
            }
            break;
        }
    }
    return r != c.invert;
}

RuleSet::RuleSet(const StrategySpec& spec) {
    std::vector<std::string> refs;
    strategy_detail::collect_refs(spec.entry, refs);
    strategy_detail::collect_refs(spec.exit, refs);
    if (spec.short_entry) strategy_detail::collect_refs(*spec.short_entry, refs);
    if (spec.short_exit) strategy_detail::collect_refs(*spec.short_exit, refs);
    slots_ = SlotTable(std::move(refs));
    entry = CompiledRule(spec.entry, slots_);
    exit = CompiledRule(spec.exit, slots_);
    if (spec.short_entry) short_entry.emplace(*spec.short_entry, slots_);
    if (spec.short_exit) short_exit.emplace(*spec.short_exit, slots_);
    lookback_ = spec.rule_lookback();
}

}  // namespace ostrel
