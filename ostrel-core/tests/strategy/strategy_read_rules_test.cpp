#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "json/parse.hpp"
#include "strategy/eval.hpp"
#include "strategy/history.hpp"
#include "strategy/read.hpp"
#include "strategy/spec.hpp"

using namespace ostrel;

namespace {

using K = Condition::Kind;
using OK = Operand::Kind;

json::Value parse(std::string_view text) {
    auto v = json::parse(text);
    EXPECT_TRUE(v.has_value()) << text;
    return v ? std::move(*v) : json::Value();
}

std::string cond_error(std::string_view text) {
    json::Value v = parse(text);
    Condition c;
    auto f = strategy_read::read_condition(v, c);
    return f ? f->message : "ok";
}

Condition cond(std::string_view text) {
    json::Value v = parse(text);
    Condition c;
    auto f = strategy_read::read_condition(v, c);
    EXPECT_FALSE(f.has_value()) << text << ": " << f->message;
    return c;
}

std::string operand_error(std::string_view text) {
    json::Value v = parse(text);
    Operand o;
    auto f = strategy_read::read_operand(v, o);
    return f ? f->message : "ok";
}

Operand operand(std::string_view text) {
    json::Value v = parse(text);
    Operand o;
    auto f = strategy_read::read_operand(v, o);
    EXPECT_FALSE(f.has_value()) << text << ": " << f->message;
    return o;
}

// Reads the rule from its JSON text and evaluates it on the last of `bars`, each bar
// carrying the value of "x" (NaN: no value on that bar) and the close 1.
bool holds(std::string_view rule, std::vector<double> bars, PositionInfo pos = {}) {
    StrategySpec spec;
    spec.entry = cond(rule);
    RuleSet rules(spec);
    BarHistory history(bars.size() + 1, rules.slots().size());
    ValueRow row(rules.slots().size());
    for (double x : bars) {
        row.clear();
        if (!std::isnan(x)) row.set(rules.slots().find("x"), x);
        Candle candle;
        candle.open = candle.high = candle.low = candle.close = 1.0;
        history.push(candle, row);
    }
    return rules.entry.eval(history, history.size() - 1, pos);
}

Operand R(const char* key) { return Operand::reference(key); }
Operand C(double v) { return Operand::value(v); }

const std::string kUntagged = "data did not match any variant of untagged enum Operand";
const std::string kConditionNames =
    "one of `gt`, `lt`, `ge`, `le`, `eq`, `ne`, `cross_above`, `cross_below`, `between`, `rising`, "
    "`falling`, `all`, `any`, `not`, `in_position`, `bars_since_entry`";

}  // namespace

TEST(StrategyReadRules, EveryConditionForm) {
    for (auto [key, kind] : {std::pair{"gt", K::Gt}, {"lt", K::Lt}, {"ge", K::Ge}, {"le", K::Le}, {"eq", K::Eq},
                             {"ne", K::Ne}, {"cross_above", K::CrossAbove}, {"cross_below", K::CrossBelow}}) {
        EXPECT_EQ(cond("{\"" + std::string(key) + "\": [\"fast\", \"slow\"]}"),
                  Condition::compare(kind, R("fast"), R("slow")))
            << key;
    }
    EXPECT_EQ(cond(R"({"between": ["rsi", 30, 70]})"), Condition::between(R("rsi"), C(30), C(70)));
    EXPECT_EQ(cond(R"({"rising": [{"price": "close"}, 3]})"), Condition::rising(Operand::price(PriceField::Close), 3));
    EXPECT_EQ(cond(R"({"falling": ["x", 4294967295]})"), Condition::falling(R("x"), 4294967295u));
    EXPECT_EQ(cond(R"({"all": [{"gt": ["rsi", 50]}, {"in_position": false}]})"),
              Condition::all({Condition::compare(K::Gt, R("rsi"), C(50)), Condition::in_position(false)}));
    EXPECT_EQ(cond(R"({"any": []})"), Condition::any({}));
    EXPECT_EQ(cond(R"({"all": []})"), Condition::all({}));
    EXPECT_EQ(cond(R"({"not": {"lt": ["adx", 20]}})"),
              Condition::negate(Condition::compare(K::Lt, R("adx"), C(20))));
    EXPECT_EQ(cond(R"({"not": {"not": {"in_position": true}}})"),
              Condition::negate(Condition::negate(Condition::in_position(true))));
    EXPECT_EQ(cond(R"({"in_position": true})"), Condition::in_position(true));
    for (auto [key, op] : {std::pair{"gt", CmpOp::Gt}, {"lt", CmpOp::Lt}, {"ge", CmpOp::Ge}, {"le", CmpOp::Le},
                           {"eq", CmpOp::Eq}}) {
        EXPECT_EQ(cond("{\"bars_since_entry\": {\"" + std::string(key) + "\": 10}}"),
                  Condition::bars_since_entry(op, 10))
            << key;
    }
}

TEST(StrategyReadRules, ConditionShapeFaults) {
    EXPECT_EQ(cond_error("5"), "invalid type: integer `5`, expected string or map");
    EXPECT_EQ(cond_error("[]"), "invalid type: sequence, expected string or map");
    EXPECT_EQ(cond_error("null"), "invalid type: null, expected string or map");
    EXPECT_EQ(cond_error("{}"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(cond_error(R"({"gt": ["a", 1], "lt": ["b", 2]})"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(cond_error(R"("gt")"), "invalid type: unit variant, expected newtype variant");
    EXPECT_EQ(cond_error(R"("all")"), "invalid type: unit variant, expected newtype variant");
    EXPECT_EQ(cond_error(R"("greater")"), "unknown variant `greater`, expected " + kConditionNames);
    EXPECT_EQ(cond_error(R"({"GT": ["a", 1]})"), "unknown variant `GT`, expected " + kConditionNames);
}

TEST(StrategyReadRules, ConditionPayloadFaults) {
    EXPECT_EQ(cond_error(R"({"gt": ["a"]})"), "invalid length 1, expected a tuple of size 2");
    EXPECT_EQ(cond_error(R"({"gt": []})"), "invalid length 0, expected a tuple of size 2");
    EXPECT_EQ(cond_error(R"({"gt": ["a", 1, 2]})"), "invalid length 3, expected fewer elements in array");
    EXPECT_EQ(cond_error(R"({"cross_below": "a"})"), "invalid type: string \"a\", expected a tuple of size 2");
    EXPECT_EQ(cond_error(R"({"between": ["a", 1]})"), "invalid length 2, expected a tuple of size 3");
    EXPECT_EQ(cond_error(R"({"between": {}})"), "invalid type: map, expected a tuple of size 3");
    EXPECT_EQ(cond_error(R"({"between": [1, 2, 3, 4]})"), "invalid length 4, expected fewer elements in array");
    EXPECT_EQ(cond_error(R"({"gt": ["a", true]})"), kUntagged);
    // Elements are read in order: a bad first element is reported before the short length.
    EXPECT_EQ(cond_error(R"({"between": [null]})"), kUntagged);

    EXPECT_EQ(cond_error(R"({"rising": ["x", 2.0]})"), "invalid type: floating point `2.0`, expected u32");
    EXPECT_EQ(cond_error(R"({"falling": ["x", -1]})"), "invalid value: integer `-1`, expected u32");
    EXPECT_EQ(cond_error(R"({"rising": ["x", 4294967296]})"), "invalid value: integer `4294967296`, expected u32");
    EXPECT_EQ(cond_error(R"({"rising": ["x", "3"]})"), "invalid type: string \"3\", expected u32");
    EXPECT_EQ(cond_error(R"({"rising": ["x"]})"), "invalid length 1, expected a tuple of size 2");
    EXPECT_EQ(cond_error(R"({"rising": [true, 1]})"), kUntagged);

    EXPECT_EQ(cond_error(R"({"all": {"gt": ["a", 1]}})"), "invalid type: map, expected a sequence");
    EXPECT_EQ(cond_error(R"({"any": null})"), "invalid type: null, expected a sequence");
    EXPECT_EQ(cond_error(R"({"any": [{"in_position": true}, {"gt": ["a"]}, 7]})"),
              "invalid length 1, expected a tuple of size 2");
    EXPECT_EQ(cond_error(R"({"not": [{"in_position": true}]})"), "invalid type: sequence, expected string or map");
    EXPECT_EQ(cond_error(R"({"not": {"not": "lt"}})"), "invalid type: unit variant, expected newtype variant");
    EXPECT_EQ(cond_error(R"({"in_position": 1})"), "invalid type: integer `1`, expected a boolean");
    EXPECT_EQ(cond_error(R"({"in_position": null})"), "invalid type: null, expected a boolean");
}

TEST(StrategyReadRules, BarsSinceEntryFaults) {
    const std::string names = "one of `gt`, `lt`, `ge`, `le`, `eq`";
    EXPECT_EQ(cond_error(R"({"bars_since_entry": 5})"), "invalid type: integer `5`, expected string or map");
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {}})"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {"ge": 1, "le": 5}})"),
              "invalid value: map, expected map with a single key");
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {"gte": 1}})"), "unknown variant `gte`, expected " + names);
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {"ne": 1}})"), "unknown variant `ne`, expected " + names);
    EXPECT_EQ(cond_error(R"({"bars_since_entry": "ge"})"), "invalid type: unit variant, expected newtype variant");
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {"ge": 1.5}})"), "invalid type: floating point `1.5`, expected u32");
    EXPECT_EQ(cond_error(R"({"bars_since_entry": {"ge": -3}})"), "invalid value: integer `-3`, expected u32");
}

TEST(StrategyReadRules, Operands) {
    EXPECT_EQ(operand(R"("rsi.value")"), R("rsi.value"));
    EXPECT_EQ(operand("-1"), C(-1));
    EXPECT_EQ(operand("2.5"), C(2.5));
    EXPECT_EQ(operand("1e3"), C(1000));
    EXPECT_EQ(operand("18446744073709551615"), C(18446744073709551615.0));
    for (auto [name, f] : {std::pair{"open", PriceField::Open}, {"high", PriceField::High}, {"low", PriceField::Low},
                           {"close", PriceField::Close}, {"volume", PriceField::Volume}, {"hlc3", PriceField::Hlc3},
                           {"ohlc4", PriceField::Ohlc4}}) {
        EXPECT_EQ(operand("{\"price\": \"" + std::string(name) + "\"}"), Operand::price(f)) << name;
        EXPECT_EQ(operand("{\"price\": {\"" + std::string(name) + "\": null}}"), Operand::price(f)) << name;
    }
    EXPECT_EQ(operand(R"({"prev": ["rsi", 1]})"), Operand::prev(R("rsi"), 1));
    EXPECT_EQ(operand(R"({"prev": [{"prev": [3, 0]}, 4294967295]})"),
              Operand::prev(Operand::prev(C(3), 0), 4294967295u));
    EXPECT_EQ(operand(R"({"div": [{"price": "close"}, "sma"]})"),
              Operand::arith(OK::Div, Operand::price(PriceField::Close), R("sma")));
    EXPECT_EQ(operand(R"({"add": [1, 2]})"), Operand::arith(OK::Add, C(1), C(2)));
    EXPECT_EQ(operand(R"({"sub": ["a", -2]})"), Operand::arith(OK::Sub, R("a"), C(-2)));
    EXPECT_EQ(operand(R"({"mul": [{"add": [1, "x"]}, {"prev": ["y", 2]}]})"),
              Operand::arith(OK::Mul, Operand::arith(OK::Add, C(1), R("x")), Operand::prev(R("y"), 2)));
}

TEST(StrategyReadRules, OperandFaultsAllGiveTheUntaggedText) {
    for (const char* text : {
             "null", "true", "[1, 2]", "{}",
             R"({"price": "Close"})", R"({"price": {"close": 1}})", R"({"price": 3})", R"({"price": {}})",
             R"({"prev": ["x", 2.0]})", R"({"prev": ["x", -1]})", R"({"prev": ["x"]})", R"({"prev": ["x", 1, 2]})",
             R"({"prev": [null, 1]})", R"({"add": [1]})", R"({"add": [1, 2, 3]})", R"({"div": "x"})",
             R"({"mul": [1, {"prev": ["x", 1.0]}]})", R"({"sum": [1, 2]})",
             R"({"price": "close", "prev": ["x", 1]})",
         }) {
        EXPECT_EQ(operand_error(text), kUntagged) << text;
    }
}

TEST(StrategyReadRules, RulesWrittenAsJsonEvaluateAsStated) {
    const double none = NAN;
    // A missing operand makes a comparison false before any inversion.
    EXPECT_FALSE(holds(R"({"gt": ["missing", 1]})", {1}));
    EXPECT_TRUE(holds(R"({"not": {"gt": ["missing", 1]}})", {1}));
    EXPECT_FALSE(holds(R"({"not": {"not": {"gt": ["missing", 1]}}})", {1}));
    EXPECT_TRUE(holds(R"({"not": {"gt": ["x", 1]}})", {5, none}));
    // Division by a divisor below EPSILON gives NaN, and every comparison with NaN fails.
    EXPECT_FALSE(holds(R"({"ne": [{"div": [1, 0]}, 5]})", {1}));
    EXPECT_TRUE(holds(R"({"not": {"eq": [{"div": [1, 0]}, 5]}})", {1}));
    // The tolerance is absolute.
    EXPECT_TRUE(holds(R"({"eq": [1e-17, 2e-17]})", {1}));
    EXPECT_FALSE(holds(R"({"eq": [1000, 1000.0000000001]})", {1}));
    // Crosses: false on the first bar; touching, then going above, counts.
    EXPECT_FALSE(holds(R"({"cross_above": ["x", 10]})", {20}));
    EXPECT_FALSE(holds(R"({"cross_below": ["x", 10]})", {5}));
    EXPECT_TRUE(holds(R"({"cross_above": ["x", 10]})", {10, 11}));
    EXPECT_TRUE(holds(R"({"cross_below": ["x", 10]})", {10, 9}));
    // Rising and falling over 0 bars never hold; over 3 bars they need 4 bars.
    EXPECT_FALSE(holds(R"({"rising": ["x", 0]})", {1, 2}));
    EXPECT_FALSE(holds(R"({"falling": ["x", 0]})", {2, 1}));
    EXPECT_FALSE(holds(R"({"rising": ["x", 3]})", {1, 2, 3}));
    EXPECT_TRUE(holds(R"({"rising": ["x", 3]})", {1, 2, 3, 4}));
    // Between is inclusive; lo above hi never holds.
    EXPECT_TRUE(holds(R"({"between": [5, 5, 5]})", {1}));
    EXPECT_FALSE(holds(R"({"between": [5, 6, 4]})", {1}));
    // All of nothing holds; any of nothing does not.
    EXPECT_TRUE(holds(R"({"all": []})", {1}));
    EXPECT_FALSE(holds(R"({"any": []})", {1}));
    // No entry on record: false whatever the operator and count.
    EXPECT_FALSE(holds(R"({"bars_since_entry": {"ge": 0}})", {1}));
    EXPECT_TRUE(holds(R"({"bars_since_entry": {"ge": 0}})", {1}, PositionInfo{true, 0, true}));
    EXPECT_TRUE(holds(R"({"in_position": true})", {1}, PositionInfo{true, 0, true}));

    // Lookbacks of nested rules.
    EXPECT_EQ(cond(R"({"cross_above": [{"prev": ["x", 2]}, "y"]})").lookback(), 3u);
    EXPECT_EQ(cond(R"({"rising": [{"prev": ["x", 2]}, 5]})").lookback(), 7u);
    EXPECT_EQ(cond(R"({"not": {"in_position": true}})").lookback(), 0u);
}
