#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "strategy/eval.hpp"
#include "strategy/history.hpp"
#include "strategy/rules.hpp"
#include "strategy/spec.hpp"

using namespace ostrel;

namespace {

using K = Condition::Kind;
using OK = Operand::Kind;

struct Bar {
    Candle candle;
    std::map<std::string, double> values;
};

Bar bar(double close, std::map<std::string, double> values = {}) {
    Bar b;
    b.candle.open = close;
    b.candle.high = close;
    b.candle.low = close;
    b.candle.close = close;
    b.values = std::move(values);
    return b;
}

// Bars whose only value is "x" (absent where the entry is NaN, standing for an
// indicator that gave nothing on that bar).
std::vector<Bar> series(std::vector<double> xs) {
    std::vector<Bar> out;
    for (double x : xs) out.push_back(std::isnan(x) ? bar(1.0) : bar(1.0, {{"x", x}}));
    return out;
}

Operand R(const char* key) { return Operand::reference(key); }
Operand C(double v) { return Operand::value(v); }

// Sets the rule up as the engine does (slots from the rule's references), feeds the
// bars through a history of the given capacity, and evaluates at the current bar.
class RuleRun {
public:
    RuleRun(const Condition& c, const std::vector<Bar>& bars, std::size_t capacity = 0) {
        spec_.entry = c;
        rules_ = std::make_unique<RuleSet>(spec_);
        history_ = std::make_unique<BarHistory>(capacity ? capacity : bars.size() + 1, rules_->slots().size());
        ValueRow row(rules_->slots().size());
        for (const Bar& b : bars) {
            row.clear();
            for (const auto& [k, v] : b.values) row.set(rules_->slots().find(k), v);
            history_->push(b.candle, row);
        }
    }
    bool at(std::size_t i, PositionInfo pos = {}) const { return rules_->entry.eval(*history_, i, pos); }
    bool last(PositionInfo pos = {}) const { return at(history_->size() - 1, pos); }
    const BarHistory& history() const { return *history_; }
    const SlotTable& slots() const { return rules_->slots(); }

private:
    StrategySpec spec_;
    std::unique_ptr<RuleSet> rules_;
    std::unique_ptr<BarHistory> history_;
};

bool eval_last(const Condition& c, const std::vector<Bar>& bars, PositionInfo pos = {}) {
    return RuleRun(c, bars).last(pos);
}

std::optional<double> value_at(const Operand& o, const std::vector<Bar>& bars, std::size_t i) {
    std::vector<std::string> keys;
    for (const Bar& b : bars)
        for (const auto& [k, v] : b.values) keys.push_back(k);
    SlotTable slots(keys);
    BarHistory h(bars.size() + 1, slots.size());
    ValueRow row(slots.size());
    for (const Bar& b : bars) {
        row.clear();
        for (const auto& [k, v] : b.values) row.set(slots.find(k), v);
        h.push(b.candle, row);
    }
    return CompiledRule::for_operand(o, slots).value(h, i);
}

}  // namespace

TEST(StrategyEval, MissingOperandIsFalseBeforeInversion) {
    auto bars = series({1.0});
    Condition gt = Condition::compare(K::Gt, R("missing"), C(1));
    EXPECT_FALSE(eval_last(gt, bars));
    EXPECT_TRUE(eval_last(Condition::negate(gt), bars));
    EXPECT_FALSE(eval_last(Condition::negate(Condition::negate(gt)), bars));
    EXPECT_TRUE(eval_last(Condition::negate(Condition::negate(Condition::negate(gt))), bars));
    // An indicator that gave nothing on this bar, although it did before.
    auto gap = series({5.0, NAN});
    EXPECT_FALSE(eval_last(Condition::compare(K::Gt, R("x"), C(1)), gap));
    EXPECT_TRUE(eval_last(Condition::compare(K::Gt, R("x"), C(1)), series({NAN, 5.0})));
}

TEST(StrategyEval, Comparisons) {
    auto bars = series({2.0});
    EXPECT_TRUE(eval_last(Condition::compare(K::Gt, R("x"), C(1)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Gt, R("x"), C(2)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Lt, R("x"), C(3)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Lt, R("x"), C(2)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Ge, R("x"), C(2)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Ge, R("x"), C(2.5)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Le, R("x"), C(2)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Le, R("x"), C(1.5)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Eq, R("x"), C(2)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Ne, R("x"), C(2)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Ne, R("x"), C(3)), bars));
}

TEST(StrategyEval, EqualityToleranceIsAbsolute) {
    auto bars = series({1.0});
    EXPECT_TRUE(eval_last(Condition::compare(K::Eq, C(1e-17), C(2e-17)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Ne, C(1e-17), C(2e-17)), bars));
    EXPECT_FALSE(eval_last(Condition::compare(K::Eq, C(1000), C(1000.0000000001)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Ne, C(1000), C(1000.0000000001)), bars));
    // A difference of exactly EPSILON is not equal.
    EXPECT_FALSE(eval_last(Condition::compare(K::Eq, C(1.0 + EPSILON), C(1.0)), bars));
    EXPECT_TRUE(eval_last(Condition::compare(K::Ne, C(1.0 + EPSILON), C(1.0)), bars));
}

TEST(StrategyEval, DivisionByTinyDivisorIsNaNAndEveryComparisonWithItFails) {
    auto bars = series({1.0});
    Operand inf = Operand::arith(OK::Div, C(1), C(0));
    EXPECT_FALSE(eval_last(Condition::compare(K::Ne, inf, C(5)), bars));
    EXPECT_TRUE(eval_last(Condition::negate(Condition::compare(K::Eq, inf, C(5))), bars));
    for (K k : {K::Gt, K::Lt, K::Ge, K::Le, K::Eq, K::Ne})
        EXPECT_FALSE(eval_last(Condition::compare(k, inf, inf), bars)) << condition_key(k);
    EXPECT_FALSE(eval_last(Condition::between(inf, C(-1e308), C(1e308)), bars));

    // NaN is a value, not an absence.
    auto nan = value_at(inf, bars, 0);
    ASSERT_TRUE(nan.has_value());
    EXPECT_TRUE(std::isnan(*nan));
    auto tiny = value_at(Operand::arith(OK::Div, C(1), C(-1e-17)), bars, 0);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_TRUE(std::isnan(*tiny));
    // A divisor of exactly EPSILON divides.
    EXPECT_EQ(value_at(Operand::arith(OK::Div, C(1), C(EPSILON)), bars, 0), 1.0 / EPSILON);
}

TEST(StrategyEval, OperandValues) {
    Bar b;
    b.candle = Candle{0, 0.7, 0.1, 0.2, 0.3, 42.0};
    b.values = {{"x", 8.0}, {"bb.upper", 3.0}};
    std::vector<Bar> bars{b};
    EXPECT_EQ(value_at(Operand::price(PriceField::Open), bars, 0), 0.7);
    EXPECT_EQ(value_at(Operand::price(PriceField::High), bars, 0), 0.1);
    EXPECT_EQ(value_at(Operand::price(PriceField::Low), bars, 0), 0.2);
    EXPECT_EQ(value_at(Operand::price(PriceField::Close), bars, 0), 0.3);
    EXPECT_EQ(value_at(Operand::price(PriceField::Volume), bars, 0), 42.0);
    // Sums in the stated order; the other grouping gives different bits here.
    double h = 0.1, l = 0.2, c = 0.3, o = 0.7;
    ASSERT_NE(((h + l) + c) / 3.0, (h + (l + c)) / 3.0);
    EXPECT_EQ(value_at(Operand::price(PriceField::Hlc3), bars, 0), ((h + l) + c) / 3.0);
    EXPECT_EQ(value_at(Operand::price(PriceField::Ohlc4), bars, 0), (((o + h) + l) + c) * 0.25);

    EXPECT_EQ(value_at(R("x"), bars, 0), 8.0);
    EXPECT_EQ(value_at(R("bb.upper"), bars, 0), 3.0);
    EXPECT_EQ(value_at(R("bb"), bars, 0), std::nullopt);
    EXPECT_EQ(value_at(C(-2.5), bars, 0), -2.5);
    EXPECT_EQ(value_at(Operand::arith(OK::Add, R("x"), C(2)), bars, 0), 10.0);
    EXPECT_EQ(value_at(Operand::arith(OK::Sub, R("x"), C(2)), bars, 0), 6.0);
    EXPECT_EQ(value_at(Operand::arith(OK::Mul, R("x"), C(2)), bars, 0), 16.0);
    EXPECT_EQ(value_at(Operand::arith(OK::Div, R("x"), C(2)), bars, 0), 4.0);
    // Either side missing makes the result missing, division included.
    EXPECT_EQ(value_at(Operand::arith(OK::Add, R("y"), C(2)), bars, 0), std::nullopt);
    EXPECT_EQ(value_at(Operand::arith(OK::Div, C(2), R("y")), bars, 0), std::nullopt);
    EXPECT_EQ(value_at(Operand::arith(OK::Div, R("y"), C(0)), bars, 0), std::nullopt);
    // An index past the end of the history has nothing, constants included.
    EXPECT_EQ(value_at(C(1), bars, 1), std::nullopt);
}

TEST(StrategyEval, Prev) {
    auto bars = series({1, 2, 3, 4});
    EXPECT_EQ(value_at(Operand::prev(R("x"), 0), bars, 3), 4.0);
    EXPECT_EQ(value_at(Operand::prev(R("x"), 2), bars, 3), 2.0);
    EXPECT_EQ(value_at(Operand::prev(R("x"), 3), bars, 3), 1.0);
    EXPECT_EQ(value_at(Operand::prev(R("x"), 4), bars, 3), std::nullopt);
    EXPECT_EQ(value_at(Operand::prev(Operand::prev(R("x"), 1), 2), bars, 3), 1.0);
    EXPECT_EQ(value_at(Operand::prev(R("x"), 1), bars, 0), std::nullopt);
    EXPECT_EQ(value_at(Operand::prev(R("x"), 4294967295u), bars, 3), std::nullopt);
    // prev of a price field and inside arithmetic.
    EXPECT_EQ(value_at(Operand::arith(OK::Sub, R("x"), Operand::prev(R("x"), 1)), bars, 2), 1.0);
}

TEST(StrategyEval, Crosses) {
    Condition above = Condition::compare(K::CrossAbove, R("x"), C(10));
    Condition below = Condition::compare(K::CrossBelow, R("x"), C(10));
    // The first bar of the history never crosses.
    EXPECT_FALSE(eval_last(above, series({20})));
    EXPECT_FALSE(eval_last(below, series({5})));
    EXPECT_TRUE(eval_last(above, series({5, 20})));
    EXPECT_FALSE(eval_last(above, series({20, 30})));
    // Touching, then going above, counts.
    EXPECT_TRUE(eval_last(above, series({10, 10.5})));
    EXPECT_FALSE(eval_last(above, series({5, 10})));
    EXPECT_TRUE(eval_last(below, series({20, 5})));
    EXPECT_TRUE(eval_last(below, series({10, 9})));
    EXPECT_FALSE(eval_last(below, series({5, 4})));
    // A missing value on either bar.
    EXPECT_FALSE(eval_last(above, series({NAN, 20})));
    EXPECT_FALSE(eval_last(above, series({5, NAN})));
    // Only bars i-1 and i are read.
    RuleRun r(above, series({5, 20, 30, 40}));
    EXPECT_FALSE(r.at(0));
    EXPECT_TRUE(r.at(1));
    EXPECT_FALSE(r.at(2));
    // Fast over slow, as two references.
    std::vector<Bar> fs{bar(1, {{"fast", 1}, {"slow", 2}}), bar(1, {{"fast", 3}, {"slow", 2}})};
    EXPECT_TRUE(eval_last(Condition::compare(K::CrossAbove, R("fast"), R("slow")), fs));
    EXPECT_FALSE(eval_last(Condition::compare(K::CrossBelow, R("fast"), R("slow")), fs));
}

TEST(StrategyEval, BetweenIsInclusive) {
    auto bars = series({5});
    EXPECT_TRUE(eval_last(Condition::between(C(5), C(5), C(5)), bars));
    EXPECT_FALSE(eval_last(Condition::between(C(5), C(6), C(4)), bars));
    EXPECT_TRUE(eval_last(Condition::between(R("x"), C(4), C(5)), bars));
    EXPECT_TRUE(eval_last(Condition::between(R("x"), C(5), C(6)), bars));
    EXPECT_FALSE(eval_last(Condition::between(R("x"), C(5.5), C(6)), bars));
    EXPECT_FALSE(eval_last(Condition::between(R("x"), C(4), C(4.5)), bars));
    EXPECT_FALSE(eval_last(Condition::between(R("x"), R("lo"), C(6)), bars));
}

TEST(StrategyEval, RisingAndFalling) {
    Condition r3 = Condition::rising(R("x"), 3);
    Condition f3 = Condition::falling(R("x"), 3);
    EXPECT_FALSE(eval_last(r3, series({1, 2, 3})));  // fewer than 4 bars
    EXPECT_TRUE(eval_last(r3, series({1, 2, 3, 4})));
    EXPECT_TRUE(eval_last(r3, series({1, 9, 0, 1.5})));  // only bars i and i-3 count
    EXPECT_FALSE(eval_last(r3, series({1, 2, 3, 1})));    // strict
    EXPECT_FALSE(eval_last(f3, series({4, 3, 2})));
    EXPECT_TRUE(eval_last(f3, series({4, 3, 2, 1})));
    EXPECT_FALSE(eval_last(f3, series({4, 3, 2, 4})));
    EXPECT_FALSE(eval_last(r3, series({NAN, 2, 3, 4})));
    for (auto xs : {std::vector<double>{1}, std::vector<double>{1, 2}, std::vector<double>{2, 1}}) {
        EXPECT_FALSE(eval_last(Condition::rising(R("x"), 0), series(xs)));
        EXPECT_FALSE(eval_last(Condition::falling(R("x"), 0), series(xs)));
    }
    EXPECT_TRUE(eval_last(Condition::rising(Operand::price(PriceField::Close), 1), {bar(1), bar(2)}));
}

TEST(StrategyEval, AllAnyNot) {
    auto bars = series({1});
    Condition t = Condition::compare(K::Gt, R("x"), C(0));
    Condition f = Condition::compare(K::Gt, R("x"), C(5));
    EXPECT_TRUE(eval_last(Condition::all({}), bars));
    EXPECT_FALSE(eval_last(Condition::any({}), bars));
    EXPECT_TRUE(eval_last(Condition::all({t, t}), bars));
    EXPECT_FALSE(eval_last(Condition::all({t, f}), bars));
    EXPECT_TRUE(eval_last(Condition::any({f, t}), bars));
    EXPECT_FALSE(eval_last(Condition::any({f, f}), bars));
    // Each child keeps its own inversion.
    EXPECT_TRUE(eval_last(Condition::all({t, Condition::negate(f)}), bars));
    EXPECT_FALSE(eval_last(Condition::negate(Condition::all({t, Condition::negate(f)})), bars));
    EXPECT_TRUE(eval_last(Condition::negate(Condition::any({})), bars));
    EXPECT_TRUE(eval_last(Condition::any({Condition::all({}), f}), bars));
    // A default (never read) condition is all of nothing.
    EXPECT_TRUE(eval_last(Condition{}, bars));
}

TEST(StrategyEval, PositionTests) {
    auto bars = series({1});
    PositionInfo flat{};
    PositionInfo held{true, 7, true};
    EXPECT_TRUE(eval_last(Condition::in_position(false), bars, flat));
    EXPECT_FALSE(eval_last(Condition::in_position(true), bars, flat));
    EXPECT_TRUE(eval_last(Condition::in_position(true), bars, held));
    EXPECT_FALSE(eval_last(Condition::in_position(false), bars, held));

    // No entry on record: false whatever the operator and count.
    for (CmpOp op : {CmpOp::Gt, CmpOp::Lt, CmpOp::Ge, CmpOp::Le, CmpOp::Eq}) {
        EXPECT_FALSE(eval_last(Condition::bars_since_entry(op, 0), bars, flat));
        EXPECT_FALSE(eval_last(Condition::bars_since_entry(op, 0), bars, PositionInfo{false, 0, true}));
    }
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Gt, 6), bars, held));
    EXPECT_FALSE(eval_last(Condition::bars_since_entry(CmpOp::Gt, 7), bars, held));
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Lt, 8), bars, held));
    EXPECT_FALSE(eval_last(Condition::bars_since_entry(CmpOp::Lt, 7), bars, held));
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Ge, 7), bars, held));
    EXPECT_FALSE(eval_last(Condition::bars_since_entry(CmpOp::Ge, 8), bars, held));
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Le, 7), bars, held));
    EXPECT_FALSE(eval_last(Condition::bars_since_entry(CmpOp::Le, 6), bars, held));
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Eq, 7), bars, held));
    EXPECT_FALSE(eval_last(Condition::bars_since_entry(CmpOp::Eq, 6), bars, held));
    // Compared as unsigned 32-bit counts.
    PositionInfo wrapped{true, 4294967295u, true};
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Gt, 0), bars, wrapped));
    EXPECT_TRUE(eval_last(Condition::bars_since_entry(CmpOp::Eq, 4294967295u), bars, wrapped));
}

// The keys of the conditions, in the order of their kinds.
TEST(StrategyEval, ConditionKeys) {
    std::string keys;
    for (unsigned k = 0; k <= static_cast<unsigned>(K::BarsSinceEntry); ++k)
        keys += std::string(condition_key(static_cast<K>(k))) + " ";
    EXPECT_EQ(keys, "gt lt ge le eq ne cross_above cross_below between rising falling all any not in_position "
                    "bars_since_entry ");
}

TEST(StrategyEval, Lookback) {
    EXPECT_EQ(Condition::compare(K::CrossAbove, Operand::prev(R("x"), 2), R("y")).lookback(), 3u);
    EXPECT_EQ(Condition::rising(Operand::prev(R("x"), 2), 5).lookback(), 7u);
    EXPECT_EQ(Condition::negate(Condition::in_position(true)).lookback(), 0u);
    EXPECT_EQ(Condition::negate(Condition::negate(Condition::falling(R("x"), 4))).lookback(), 4u);
    EXPECT_EQ(Condition::compare(K::Gt, R("x"), C(1)).lookback(), 0u);
    EXPECT_EQ(Condition::compare(K::Lt, Operand::price(PriceField::Hlc3), Operand::prev(R("x"), 9)).lookback(), 9u);
    EXPECT_EQ(Condition::between(C(1), Operand::prev(C(1), 4), Operand::prev(C(1), 6)).lookback(), 6u);
    EXPECT_EQ(Condition::bars_since_entry(CmpOp::Ge, 100).lookback(), 0u);
    EXPECT_EQ(Condition::all({}).lookback(), 0u);
    EXPECT_EQ(Condition::any({Condition::rising(R("a"), 2),
                              Condition::all({Condition::compare(K::CrossBelow, Operand::prev(R("b"), 4), C(0))})})
                  .lookback(),
              5u);
    Operand nested = Operand::arith(OK::Mul, Operand::prev(Operand::prev(R("x"), 3), 4), Operand::prev(R("y"), 5));
    EXPECT_EQ(nested.lookback(), 7u);
    EXPECT_EQ(Condition::rising(nested, 1).lookback(), 8u);
    // Counts near 2^32 add up in 64 bits.
    EXPECT_EQ(Condition::rising(Operand::prev(R("x"), 4294967295u), 4294967295u).lookback(), 8589934590u);
}

TEST(StrategyEval, HistoryKeepsTheLatestBars) {
    // Capacity 3: on the tenth bar the rules see bars 8, 9 and 10, the current one last.
    std::vector<Bar> bars;
    for (int k = 1; k <= 10; ++k) bars.push_back(bar(k, {{"x", double(k)}}));
    RuleRun r(Condition::compare(K::Eq, Operand::prev(R("x"), 2), C(8)), bars, 3);
    ASSERT_EQ(r.history().size(), 3u);
    EXPECT_EQ(r.history().candle(0).close, 8.0);
    EXPECT_EQ(r.history().candle(1).close, 9.0);
    EXPECT_EQ(r.history().candle(2).close, 10.0);
    EXPECT_TRUE(r.at(2));
    EXPECT_FALSE(r.at(3));  // beyond the history
    // Capacity 1: only the current bar.
    RuleRun one(Condition::compare(K::Eq, R("x"), C(10)), bars, 1);
    EXPECT_EQ(one.history().size(), 1u);
    EXPECT_TRUE(one.at(0));
}

TEST(StrategyEval, HistoryCapacityFarAboveTheBarsStaysSmall) {
    ValueRow row(2);
    BarHistory h(std::size_t{1} << 40, 2);  // would be terabytes if allocated up front
    Candle c;
    for (int k = 0; k < 5000; ++k) {
        row.clear();
        row.set(1, k);
        c.close = k;
        h.push(c, row);
    }
    EXPECT_EQ(h.size(), 5000u);
    EXPECT_EQ(h.candle(4999).close, 4999.0);
    EXPECT_EQ(h.value(4999, 1), 4999.0);
    EXPECT_EQ(h.value(4999, 0), std::nullopt);
    EXPECT_EQ(h.value(0, 1), 0.0);
}

TEST(StrategyEval, SlotsAndIndicatorKeys) {
    SlotTable slots({"bb.upper", "a.b", "rsi", "bb.upper", "a"});
    EXPECT_EQ(slots.size(), 4u);
    EXPECT_EQ(slots.find("a"), 0u);
    EXPECT_EQ(slots.find("a.b"), 1u);
    EXPECT_EQ(slots.find("bb.upper"), 2u);
    EXPECT_EQ(slots.find("rsi"), 3u);
    EXPECT_EQ(slots.find("bb"), SlotTable::npos);

    IndicatorKeys bb("bb", slots);
    EXPECT_EQ(bb.id_slot(), SlotTable::npos);
    EXPECT_EQ(bb.output_slot("upper"), 2u);
    EXPECT_EQ(bb.output_slot("middle"), SlotTable::npos);
    EXPECT_EQ(bb.output_slot("upper"), 2u);

    // The output "b" of indicator "a" and an indicator named "a.b" share one key;
    // the later store on a bar wins, as with a map.
    IndicatorKeys a("a", slots);
    IndicatorKeys ab("a.b", slots);
    EXPECT_EQ(a.output_slot("b"), ab.id_slot());
    ValueRow row(slots.size());
    row.set(a.id_slot(), 1.0);
    row.set(a.output_slot("b"), 2.0);
    row.set(ab.id_slot(), 3.0);
    row.set(SlotTable::npos, 4.0);  // ignored
    EXPECT_EQ(row.get(1), 3.0);
    row.clear();
    EXPECT_EQ(row.get(1), std::nullopt);
}

TEST(StrategyEval, RuleSetResolvesEveryRule) {
    StrategySpec spec;
    spec.entry = Condition::compare(K::Gt, R("fast"), R("slow"));
    spec.exit = Condition::compare(K::Lt, R("fast"), R("slow"));
    spec.short_exit = Condition::rising(Operand::prev(R("rsi.value"), 4), 2);
    RuleSet rules(spec);
    EXPECT_EQ(rules.slots().keys(), (std::vector<std::string>{"fast", "rsi.value", "slow"}));
    EXPECT_EQ(rules.lookback(), 6u);
    EXPECT_FALSE(rules.short_entry.has_value());
    ASSERT_TRUE(rules.short_exit.has_value());

    BarHistory h(7, rules.slots().size());
    ValueRow row(rules.slots().size());
    row.set(rules.slots().find("fast"), 2.0);
    row.set(rules.slots().find("slow"), 1.0);
    h.push(Candle{}, row);
    EXPECT_TRUE(rules.entry.eval(h, 0, {}));
    EXPECT_FALSE(rules.exit.eval(h, 0, {}));
    EXPECT_FALSE(rules.short_exit->eval(h, 0, {}));
}
