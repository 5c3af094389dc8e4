#include "strategy/read.hpp"

#include <array>
#include <span>
#include <string_view>
#include <utility>

namespace ostrel {

namespace strategy_detail {

inline constexpr std::array<std::string_view, 16> kConditionKeys = {
    "gt", "lt", "ge", "le", "eq", "ne", "cross_above", "cross_below", "between",
    "rising", "falling", "all", "any", "not", "in_position", "bars_since_entry",
};
inline constexpr std::array<std::string_view, 5> kCmpOpKeys = {"gt", "lt", "ge", "le", "eq"};
inline constexpr std::array<std::string_view, 7> kPriceKeys = {"open",   "high", "low",  "close",
                                                               "volume", "hlc3", "ohlc4"};
inline constexpr std::array<std::string_view, 6> kExprKeys = {"price", "prev", "add", "sub", "mul", "div"};
inline constexpr std::array<std::string_view, 6> kFeedKeys = {
    "kline", "trade", "orderbook", "trade_quote", "derivatives", "cross_section"};
inline constexpr std::array<std::string_view, 4> kOrderTypeKeys = {"market", "limit", "stop", "stop_limit"};
inline constexpr std::array<std::string_view, 2> kFillTimingKeys = {"next_open", "close"};
inline constexpr std::array<std::string_view, 5> kSizingKeys = {"fixed_fraction", "fixed_qty", "fixed_cash",
                                                                 "vol_target", "risk_per_trade"};
inline constexpr std::array<std::string_view, 3> kSlippageKeys = {"fixed_bps", "spread", "volume_impact"};

inline constexpr std::string_view kUntaggedOperand = "data did not match any variant of untagged enum Operand";
inline constexpr std::string_view kPair = "a tuple of size 2";
inline constexpr std::string_view kTriple = "a tuple of size 3";

// An expression operand: {"price": field}, {"prev": [operand, n]} or
// {"add"|"sub"|"mul"|"div": [left, right]}. Any fault means "not an expression".
inline bool read_expr(json::Value& v, Operand& out) {
    if (!v.is_object() || v.as_object().size() != 1) return false;
    json::Member& m = v.as_object()[0];
    std::size_t k = kExprKeys.size();
    for (std::size_t i = 0; i < kExprKeys.size(); ++i)
        if (kExprKeys[i] == m.key) k = i;
    if (k == kExprKeys.size()) return false;
    if (k == 0) {
        std::size_t field = 0;
        if (json::read_unit_enum(m.value, kPriceKeys, "unit", field)) return false;
        out = Operand::price(static_cast<PriceField>(field));
        return true;
    }
    if (!m.value.is_array() || m.value.as_array().size() != 2) return false;
    json::Array& a = m.value.as_array();
    Operand first;
    if (strategy_read::read_operand(a[0], first)) return false;
    if (k == 1) {
        std::uint32_t n = 0;
        if (json::read_u32(a[1], n)) return false;
        out = Operand::prev(std::move(first), n);
        return true;
    }
    Operand second;
    if (strategy_read::read_operand(a[1], second)) return false;
    constexpr Operand::Kind arith[] = {Operand::Kind::Add, Operand::Kind::Sub, Operand::Kind::Mul,
                                       Operand::Kind::Div};
    out = Operand::arith(arith[k - 2], std::move(first), std::move(second));
    return true;
}

inline json::Fault read_operands(json::Value& v, std::size_t n, std::string_view expected,
                                 std::vector<Operand>& out) {
    out.assign(n, Operand{});
    return json::read_tuple(v, n, expected,
                            [&](std::size_t i, json::Value& x) { return strategy_read::read_operand(x, out[i]); });
}

inline json::ReadError bare_variant() { return json::invalid_type_desc("unit variant", "newtype variant"); }

// The fields of one variant of an internally tagged union, after its tag has been
// read: the remaining members of the object, or the elements after the name.
template <class F>
json::Fault read_tagged_fields(json::Value& v, const json::RecordShape& shape, F&& read_field) {
    if (v.is_object()) return json::read_record_object(v.as_object(), shape, read_field);
    json::Array& a = v.as_array();
    return json::read_record_elements(std::span<json::Value>(a.data() + 1, a.size() - 1), shape, read_field);
}

}  // namespace strategy_detail

namespace strategy_read {

using json::Fault;
using json::Value;

Fault read_operand(Value& v, Operand& out) {
    if (v.is_string()) {
        out = Operand::reference(std::move(v.as_string()));
        return {};
    }
    if (v.is_number()) {
        out = Operand::value(v.to_f64());
        return {};
    }
    if (strategy_detail::read_expr(v, out)) return {};
    return json::ReadError{std::string(strategy_detail::kUntaggedOperand)};
}

Fault read_condition(Value& v, Condition& out) {
    using K = Condition::Kind;
    json::VariantKey key;
    if (Fault f = json::read_variant_key(v, strategy_detail::kConditionKeys, key)) return f;
    if (key.payload == nullptr) return strategy_detail::bare_variant();
    Value& p = *key.payload;
    Condition c;
    c.kind = static_cast<K>(key.index);
    switch (c.kind) {
        case K::Gt:
        case K::Lt:
        case K::Ge:
        case K::Le:
        case K::Eq:
        case K::Ne:
        case K::CrossAbove:
        case K::CrossBelow:
            if (Fault f = strategy_detail::read_operands(p, 2, strategy_detail::kPair, c.operands)) return f;
            break;
        case K::Between:
            if (Fault f = strategy_detail::read_operands(p, 3, strategy_detail::kTriple, c.operands)) return f;
            break;
        case K::Rising:
        case K::Falling: {
            c.operands.resize(1);
            Fault f = json::read_tuple(p, 2, strategy_detail::kPair, [&](std::size_t i, Value& x) -> Fault {
                if (i == 0) return read_operand(x, c.operands[0]);
                return json::read_u32(x, c.n);
            });
            if (f) return f;
            break;
        }
        case K::All:
        case K::Any: {
            Fault f = json::read_seq(p, [&](std::size_t, Value& x) -> Fault {
                Condition child;
                if (Fault g = read_condition(x, child)) return g;
                c.children.push_back(std::move(child));
                return {};
            });
            if (f) return f;
            break;
        }
        case K::Not: {
            Condition inner;
            if (Fault f = read_condition(p, inner)) return f;
            c.children.push_back(std::move(inner));
            break;
        }
        case K::InPosition:
            if (Fault f = json::read_bool(p, c.flag)) return f;
            break;
        case K::BarsSinceEntry: {
            json::VariantKey op;
            if (Fault f = json::read_variant_key(p, strategy_detail::kCmpOpKeys, op)) return f;
            if (op.payload == nullptr) return strategy_detail::bare_variant();
            if (Fault f = json::read_u32(*op.payload, c.n)) return f;
            c.op = static_cast<CmpOp>(op.index);
            break;
        }
    }
    out = std::move(c);
    return {};
}

Fault read_feed(Value& v, Feed& out) {
    std::size_t k = 0;
    if (Fault f = json::read_unit_enum(v, strategy_detail::kFeedKeys, "unit variant", k)) return f;
    out = static_cast<Feed>(k);
    return {};
}

Fault read_indicator_spec(Value& v, IndicatorSpec& out) {
    static constexpr json::Field fields[] = {{"type", true}, {"params", false}, {"feed", false}};
    static constexpr json::RecordShape shape{"struct IndicatorSpec", "struct IndicatorSpec with 3 elements", fields};
    out = IndicatorSpec{};
    return json::read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return json::read_string(x, out.type);
            case 1: return json::read_f64_list(x, out.params);
            default: return json::read_optional(x, out.feed, read_feed);
        }
    });
}

Fault read_sizing(Value& v, Sizing& out) {
    using SK = Sizing::Kind;
    std::size_t k = 0;
    if (Fault f = json::read_internal_tag(v, "internally tagged enum Sizing", "type", strategy_detail::kSizingKeys, k))
        return f;
    static constexpr json::Field fraction[] = {{"fraction", true}};
    static constexpr json::Field qty[] = {{"qty", true}};
    static constexpr json::Field cash[] = {{"cash", true}};
    static constexpr json::Field vol[] = {{"target_vol", true}, {"lookback", true}};
    static constexpr json::Field risk[] = {{"risk_pct", true}};
    static constexpr json::RecordShape shapes[] = {
        {"", "struct variant Sizing::FixedFraction with 1 element", fraction, false, true, "1 element in sequence"},
        {"", "struct variant Sizing::FixedQty with 1 element", qty, false, true, "1 element in sequence"},
        {"", "struct variant Sizing::FixedCash with 1 element", cash, false, true, "1 element in sequence"},
        {"", "struct variant Sizing::VolTarget with 2 elements", vol, false, true, "2 elements in sequence"},
        {"", "struct variant Sizing::RiskPerTrade with 1 element", risk, false, true, "1 element in sequence"},
    };
    Sizing s;
    s.kind = static_cast<SK>(k);
    Fault f = strategy_detail::read_tagged_fields(v, shapes[k], [&](std::size_t i, Value& x) -> Fault {
        switch (s.kind) {
            case SK::FixedFraction: return json::read_f64(x, s.fraction);
            case SK::FixedQty: return json::read_f64(x, s.qty);
            case SK::FixedCash: return json::read_f64(x, s.cash);
            case SK::VolTarget: return i == 0 ? json::read_f64(x, s.target_vol) : json::read_u32(x, s.lookback);
            case SK::RiskPerTrade: return json::read_f64(x, s.risk_pct);
        }
        return {};
    });
    if (f) return f;
    out = s;
    return {};
}

Fault read_slippage(Value& v, Slippage& out) {
    using SK = Slippage::Kind;
    std::size_t k = 0;
    if (Fault f = json::read_internal_tag(v, "internally tagged enum Slippage", "type",
                                          strategy_detail::kSlippageKeys, k))
        return f;
    static constexpr json::Field bps[] = {{"bps", true}};
    static constexpr json::Field coef[] = {{"coef", true}};
    static constexpr json::RecordShape shapes[] = {
        {"", "struct variant Slippage::FixedBps with 1 element", bps, false, true, "1 element in sequence"},
        {"", "", {}, false, true, "0 elements in sequence"},
        {"", "struct variant Slippage::VolumeImpact with 1 element", coef, false, true, "1 element in sequence"},
    };
    Slippage s;
    s.kind = static_cast<SK>(k);
    Fault f = strategy_detail::read_tagged_fields(v, shapes[k], [&](std::size_t, Value& x) -> Fault {
        return json::read_f64(x, s.kind == SK::FixedBps ? s.bps : s.coef);
    });
    if (f) return f;
    out = s;
    return {};
}

Fault read_costs(Value& v, Costs& out) {
    static constexpr json::Field fields[] = {
        {"maker_bps", false}, {"taker_bps", false}, {"slippage", false}, {"funding", false}};
    static constexpr json::RecordShape shape{"struct Costs", "", fields};
    out = Costs{};
    return json::read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return json::read_f64(x, out.maker_bps);
            case 1: return json::read_f64(x, out.taker_bps);
            case 2: return read_slippage(x, out.slippage);
            default: return json::read_bool(x, out.funding);
        }
    });
}

Fault read_risk(Value& v, Risk& out) {
    static constexpr json::Field fields[] = {
        {"stop_loss_pct", false}, {"take_profit_pct", false},  {"trailing_stop_pct", false},
        {"max_leverage", false},  {"max_position_pct", false}, {"liquidation", false}};
    static constexpr json::RecordShape shape{"struct Risk", "", fields};
    out = Risk{};
    return json::read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return json::read_optional(x, out.stop_loss_pct, json::read_f64);
            case 1: return json::read_optional(x, out.take_profit_pct, json::read_f64);
            case 2: return json::read_optional(x, out.trailing_stop_pct, json::read_f64);
            case 3: return json::read_optional(x, out.max_leverage, json::read_f64);
            case 4: return json::read_optional(x, out.max_position_pct, json::read_f64);
            default: return json::read_bool(x, out.liquidation);
        }
    });
}

Fault read_order_type(Value& v, OrderType& out) {
    std::size_t k = 0;
    if (Fault f = json::read_unit_enum(v, strategy_detail::kOrderTypeKeys, "unit", k)) return f;
    out = static_cast<OrderType>(k);
    return {};
}

Fault read_fill_timing(Value& v, FillTiming& out) {
    std::size_t k = 0;
    if (Fault f = json::read_unit_enum(v, strategy_detail::kFillTimingKeys, "unit", k)) return f;
    out = static_cast<FillTiming>(k);
    return {};
}

Fault read_execution(Value& v, Execution& out) {
    static constexpr json::Field fields[] = {
        {"order_type", false},   {"fill_timing", false},   {"limit_offset_pct", false},
        {"stop_offset_pct", false}, {"latency_bars", false}, {"partial_fills", false},
        {"max_participation", false}};
    static constexpr json::RecordShape shape{"struct Execution", "", fields};
    out = Execution{};
    return json::read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return read_order_type(x, out.order_type);
            case 1: return read_fill_timing(x, out.fill_timing);
            case 2: return json::read_optional(x, out.limit_offset_pct, json::read_f64);
            case 3: return json::read_optional(x, out.stop_offset_pct, json::read_f64);
            case 4: return json::read_u32(x, out.latency_bars);
            case 5: return json::read_bool(x, out.partial_fills);
            default: return json::read_optional(x, out.max_participation, json::read_f64);
        }
    });
}

Fault read_strategy_spec(Value& v, StrategySpec& out) {
    static constexpr json::Field fields[] = {
        {"spec_version", false}, {"symbol", true},       {"ref_symbol", false}, {"timeframe", true},
        {"indicators", true},    {"entry", true},        {"exit", true},        {"short_entry", false},
        {"short_exit", false},   {"sizing", true},       {"costs", false},      {"risk", false},
        {"execution", false},    {"warmup", false}};
    static constexpr json::RecordShape shape{"struct StrategySpec", "", fields, false, false};
    out = StrategySpec{};
    return json::read_record(v, shape, [&](std::size_t i, Value& x) -> Fault {
        switch (i) {
            case 0: return json::read_u32(x, out.spec_version);
            case 1: return json::read_string(x, out.symbol);
            case 2: return json::read_optional(x, out.ref_symbol, json::read_string);
            case 3: return json::read_string(x, out.timeframe);
            case 4:
                return json::read_map(x, [&](const std::string& id, Value& decl) -> Fault {
                    IndicatorSpec spec;
                    if (Fault f = read_indicator_spec(decl, spec)) return f;
                    out.indicators.emplace_hint(out.indicators.end(), id, std::move(spec));
                    return {};
                });
            case 5: return read_condition(x, out.entry);
            case 6: return read_condition(x, out.exit);
            case 7: return json::read_optional(x, out.short_entry, read_condition);
            case 8: return json::read_optional(x, out.short_exit, read_condition);
            case 9: return read_sizing(x, out.sizing);
            case 10: return read_costs(x, out.costs);
            case 11: return read_risk(x, out.risk);
            case 12: return read_execution(x, out.execution);
            default: return json::read_optional(x, out.warmup, json::read_u32);
        }
    });
}

}  // namespace strategy_read

json::Read<StrategySpec> strategy_spec_from_value(json::Value v) {
    StrategySpec spec;
    if (json::Fault f = strategy_read::read_strategy_spec(v, spec)) return std::move(*f);
    return spec;
}

}  // namespace ostrel
