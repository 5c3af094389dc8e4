#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "json/parse.hpp"
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

Condition cond(std::string_view text) {
    json::Value v = parse(text);
    Condition c;
    auto f = strategy_read::read_condition(v, c);
    EXPECT_FALSE(f.has_value()) << text << ": " << f->message;
    return c;
}

Operand operand(std::string_view text) {
    json::Value v = parse(text);
    Operand o;
    auto f = strategy_read::read_operand(v, o);
    EXPECT_FALSE(f.has_value()) << text << ": " << f->message;
    return o;
}

Operand R(const char* key) { return Operand::reference(key); }
Operand C(double v) { return Operand::value(v); }

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
