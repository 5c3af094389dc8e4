#include "strategy/rules.hpp"

#include <algorithm>
#include <limits>

namespace ostrel {

namespace strategy_detail {

inline std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
    std::uint64_t s = a + b;
    return s < a ? std::numeric_limits<std::uint64_t>::max() : s;
}

}  // namespace strategy_detail

Operand Operand::reference(std::string key) {
    Operand o;
    o.kind = Kind::IndicatorRef;
    o.ref = std::move(key);
    return o;
}

Operand Operand::value(double v) {
    Operand o;
    o.kind = Kind::Constant;
    o.constant = v;
    return o;
}

Operand Operand::price(PriceField f) {
    Operand o;
    o.kind = Kind::Price;
    o.field = f;
    return o;
}

Operand Operand::prev(Operand op, std::uint32_t n) {
    Operand o;
    o.kind = Kind::Prev;
    o.n = n;
    o.args.push_back(std::move(op));
    return o;
}

Operand Operand::arith(Kind k, Operand left, Operand right) {
    Operand o;
    o.kind = k;
    o.args.reserve(2);
    o.args.push_back(std::move(left));
    o.args.push_back(std::move(right));
    return o;
}

std::uint64_t Operand::lookback() const {
    switch (kind) {
        case Kind::IndicatorRef:
        case Kind::Constant:
        case Kind::Price: return 0;
        case Kind::Prev: return strategy_detail::saturating_add(n, args[0].lookback());
        case Kind::Add:
        case Kind::Sub:
        case Kind::Mul:
        case Kind::Div: return std::max(args[0].lookback(), args[1].lookback());
    }
    return 0;
}

std::optional<BacktestError> Operand::check_refs(const std::set<std::string, std::less<>>& ids) const {
    switch (kind) {
        case Kind::IndicatorRef: {
            std::string_view id = std::string_view(ref).substr(0, ref.find('.'));
            if (ids.find(id) == ids.end()) return BacktestError::undeclared_indicator(ref);
            return std::nullopt;
        }
        case Kind::Constant:
        case Kind::Price: return std::nullopt;
        case Kind::Prev:
        case Kind::Add:
        case Kind::Sub:
        case Kind::Mul:
        case Kind::Div:
            for (const Operand& a : args)
                if (auto e = a.check_refs(ids)) return e;
            return std::nullopt;
    }
    return std::nullopt;
}

Condition Condition::compare(Kind k, Operand a, Operand b) {
    Condition c;
    c.kind = k;
    c.operands.reserve(2);
    c.operands.push_back(std::move(a));
    c.operands.push_back(std::move(b));
    return c;
}

Condition Condition::between(Operand x, Operand lo, Operand hi) {
    Condition c;
    c.kind = Kind::Between;
    c.operands.reserve(3);
    c.operands.push_back(std::move(x));
    c.operands.push_back(std::move(lo));
    c.operands.push_back(std::move(hi));
    return c;
}

Condition Condition::rising(Operand op, std::uint32_t n) {
    Condition c;
    c.kind = Kind::Rising;
    c.n = n;
    c.operands.push_back(std::move(op));
    return c;
}

Condition Condition::falling(Operand op, std::uint32_t n) {
    Condition c = rising(std::move(op), n);
    c.kind = Kind::Falling;
    return c;
}

Condition Condition::all(std::vector<Condition> cs) {
    Condition c;
    c.kind = Kind::All;
    c.children = std::move(cs);
    return c;
}

Condition Condition::any(std::vector<Condition> cs) {
    Condition c;
    c.kind = Kind::Any;
    c.children = std::move(cs);
    return c;
}

Condition Condition::negate(Condition inner) {
    Condition c;
    c.kind = Kind::Not;
    c.children.push_back(std::move(inner));
    return c;
}

Condition Condition::in_position(bool b) {
    Condition c;
    c.kind = Kind::InPosition;
    c.flag = b;
    return c;
}

Condition Condition::bars_since_entry(CmpOp op, std::uint32_t n) {
    Condition c;
    c.kind = Kind::BarsSinceEntry;
    c.op = op;
    c.n = n;
    return c;
}

std::uint64_t Condition::lookback() const {
    const Condition* c = this;
    while (c->kind == Kind::Not) c = &c->children[0];
    switch (c->kind) {
        case Kind::Gt:
        case Kind::Lt:
        case Kind::Ge:
        case Kind::Le:
        case Kind::Eq:
        case Kind::Ne:
        case Kind::Between: {
            std::uint64_t m = 0;
            for (const Operand& o : c->operands) m = std::max(m, o.lookback());
            return m;
        }
        case Kind::CrossAbove:
        case Kind::CrossBelow:
            return strategy_detail::saturating_add(
                std::max(c->operands[0].lookback(), c->operands[1].lookback()), 1);
        case Kind::Rising:
        case Kind::Falling: return strategy_detail::saturating_add(c->operands[0].lookback(), c->n);
        case Kind::All:
        case Kind::Any: {
            std::uint64_t m = 0;
            for (const Condition& ch : c->children) m = std::max(m, ch.lookback());
            return m;
        }
        case Kind::Not:  // stripped above
        case Kind::InPosition:
        case Kind::BarsSinceEntry: return 0;
    }
    return 0;
}

std::optional<BacktestError> Condition::check_refs(const std::set<std::string, std::less<>>& ids) const {
    for (const Operand& o : operands)
        if (auto e = o.check_refs(ids)) return e;
    for (const Condition& ch : children)
        if (auto e = ch.check_refs(ids)) return e;
    return std::nullopt;
}

std::string_view condition_key(Condition::Kind k) {
    constexpr std::string_view names[] = {
        "gt", "lt", "ge", "le", "eq", "ne", "cross_above", "cross_below", "between",
        "rising", "falling", "all", "any", "not", "in_position", "bars_since_entry",
    };
    return names[static_cast<unsigned>(k)];
}

}  // namespace ostrel
