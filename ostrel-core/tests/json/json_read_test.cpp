#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "json/parse.hpp"
#include "json/read.hpp"
#include "support/table_file.hpp"

using namespace ostrel::json;

namespace {

Value v(std::string_view text) {
    auto r = parse(text);
    EXPECT_TRUE(r.has_value()) << text;
    return r ? std::move(*r) : Value();
}

std::string msg(const Fault& f) { return f ? f->message : "ok"; }

// A record in the manner of the strategy side: Costs-like, all defaulted.
struct Rec {
    double a = 0.0;
    std::optional<double> b;
    std::uint32_t n = 7;
    std::string s;
    bool flag = false;
};

constexpr Field kRecFields[] = {{"a", true}, {"b", false}, {"n", false}, {"s", true}, {"flag", false}};
constexpr RecordShape kRec{"struct Rec", "struct Rec with 5 elements", kRecFields};

Fault read_rec(Value& x, Rec& out) {
    out = Rec{};
    return read_record(x, kRec, [&](std::size_t i, Value& f) -> Fault {
        switch (i) {
            case 0: return read_f64(f, out.a);
            case 1: return read_optional(f, out.b, read_f64);
            case 2: return read_u32(f, out.n);
            case 3: return read_string(f, out.s);
            default: return read_bool(f, out.flag);
        }
    });
}

}  // namespace

// The texts of data/texts.txt: what is checked, the input, the expected text, both with
// \xNN for the byte NN.
TEST(JsonRead, Texts) {
    auto bytes = [](const std::string& cell) {
        std::string out;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            const bool hex = cell.compare(i, 2, "\\x") == 0 && i + 3 < cell.size() && std::isxdigit(cell[i + 2]) &&
                             std::isxdigit(cell[i + 3]);
            out += hex ? static_cast<char>(std::stoi(cell.substr(i + 2, 2), nullptr, 16)) : cell[i];
            if (hex) i += 3;
        }
        return out;
    };
    for (const auto& row : table_file::read("json/data/texts.txt")) {
        const std::string& what = row[0];
        std::string want = row[2];
        for (std::size_t i = 3; i < row.size(); ++i) want += " " + row[i];
        auto parsed = parse(bytes(row[1]));
        std::uint32_t u = 0;
        std::uint64_t w = 0;
        std::int64_t i = 0;
        double d = 0;
        bool b = false;
        Rec r;
        std::string got = what == "digits" ? float_digits(row.num(1))
                          : what == "quote" ? debug_quote(bytes(row[1]))
                          : what == "parse" ? (parsed ? "ok" : parsed.error().display())
                          : !parsed         ? "does not parse"
                          : what == "describe" ? describe(*parsed)
                          : what == "u32"      ? msg(read_u32(*parsed, u))
                          : what == "u64"      ? msg(read_u64(*parsed, w))
                          : what == "i64"      ? msg(read_i64(*parsed, i))
                          : what == "f64"      ? msg(read_f64(*parsed, d))
                          : what == "bool"     ? msg(read_bool(*parsed, b))
                          : what == "record"   ? msg(read_rec(*parsed, r))
                                               : "";
        if (what == "keys" && parsed)
            for (const Member& m : parsed->as_object()) got += (got.empty() ? "" : ",") + m.key;
        EXPECT_EQ(got, bytes(want)) << "texts.txt line " << row.line;
    }
}

TEST(JsonRead, Shapes) {
    EXPECT_EQ(invalid_type_desc("unit variant", "newtype variant").message,
              "invalid type: unit variant, expected newtype variant");
    EXPECT_EQ(invalid_value_desc("map", "map with a single key").message,
              "invalid value: map, expected map with a single key");
    EXPECT_EQ(invalid_length(4, "struct Candle with 6 elements").message,
              "invalid length 4, expected struct Candle with 6 elements");
    EXPECT_EQ(missing_field("suite").message, "missing field `suite`");
    constexpr std::array<std::string_view, 2> two{"next_open", "close"};
    EXPECT_EQ(unknown_variant("open", two).message, "unknown variant `open`, expected `next_open` or `close`");
    constexpr std::array<std::string_view, 4> four{"market", "limit", "stop", "stop_limit"};
    EXPECT_EQ(unknown_variant("Market", four).message,
              "unknown variant `Market`, expected one of `market`, `limit`, `stop`, `stop_limit`");
    constexpr std::array<std::string_view, 1> one{"only"};
    EXPECT_EQ(unknown_variant("x", one).message, "unknown variant `x`, expected `only`");
    EXPECT_EQ(unknown_variant("x", {}).message, "unknown variant `x`, there are no variants");
    EXPECT_EQ(unknown_field("x", {}).message, "unknown field `x`, there are no fields");
    EXPECT_EQ(unknown_field("notes", four).message,
              "unknown field `notes`, expected one of `market`, `limit`, `stop`, `stop_limit`");
}

// The value of a read that succeeds; the faults are rows of data/texts.txt.
TEST(JsonRead, Scalars) {
    std::uint32_t u = 0;
    std::int64_t i = 0;
    std::uint64_t w = 0;
    double d = 0;
    EXPECT_EQ(msg(read_u32(v("4294967295"), u)) + msg(read_i64(v("-5"), i)), "okok");
    EXPECT_EQ(msg(read_u64(v("18446744073709551615"), w)) + msg(read_f64(v("-3"), d)), "okok");
    EXPECT_EQ(u, 4294967295u);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(w, std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(d, -3.0);
    std::string s;
    Value five = v("5");
    EXPECT_EQ(msg(read_string(five, s)), "invalid type: integer `5`, expected a string");
    std::vector<double> list;
    Value l1 = v("[20, 2.5, -1]"), l2 = v("null"), l3 = v("[1, \"20\"]");
    EXPECT_EQ(msg(read_f64_list(l1, list)), "ok");
    EXPECT_EQ(list, (std::vector<double>{20.0, 2.5, -1.0}));
    EXPECT_EQ(msg(read_f64_list(l2, list)), "invalid type: null, expected a sequence");
    EXPECT_EQ(msg(read_f64_list(l3, list)), "invalid type: string \"20\", expected f64");
    Value x = v("null");
    std::optional<std::uint32_t> ou = 5u;
    EXPECT_EQ(msg(read_optional(x, ou, read_u32)), "ok");
    EXPECT_FALSE(ou.has_value());
}

TEST(JsonRead, RecordValues) {
    Value x = v("{\"a\":2.5,\"b\":null,\"s\":\"q\",\"flag\":true}");
    Rec r;
    EXPECT_EQ(msg(read_rec(x, r)), "ok");
    EXPECT_EQ(r.a, 2.5);
    EXPECT_FALSE(r.b.has_value());
    EXPECT_EQ(r.n, 7u);
    EXPECT_EQ(r.s, "q");
    EXPECT_TRUE(r.flag);
}

// A record of more fields than the usual 64: the last one required and missing.
TEST(JsonRead, RecordOfManyFields) {
    std::vector<std::string> keys;
    for (int i = 0; i < 70; ++i) keys.push_back("f" + std::to_string(i));
    std::vector<Field> fields;
    for (const auto& k : keys) fields.push_back({k, k == "f69"});
    const RecordShape shape{"struct Big", "struct Big with 70 elements", fields};
    Value x = v("{\"f68\":1,\"f3\":2,\"zz\":3}");
    std::string seen;
    Fault f = read_record(x, shape, [&](std::size_t i, Value&) -> Fault {
        seen += std::to_string(i) + " ";
        return {};
    });
    EXPECT_EQ(seen, "3 68 ");
    EXPECT_EQ(msg(f), "missing field `f69`");
}

TEST(JsonRead, DenyUnknownAndObjectOnly) {
    static constexpr Field fields[] = {{"id", true}, {"x", true}};
    static constexpr RecordShape shape{"struct T", "struct T with 2 elements", fields, true, false};
    std::array<std::string_view, 2> keys{"id", "x"};
    (void)keys;
    auto run = [&](std::string_view text) {
        Value x = v(text);
        return msg(read_record(x, shape, [](std::size_t, Value&) -> Fault { return {}; }));
    };
    EXPECT_EQ(run("{\"notes\":1}"), "unknown field `notes`, expected `id` or `x`");
    EXPECT_EQ(run("{\"id\":1}"), "missing field `x`");
    EXPECT_EQ(run("[1,2]"), "invalid type: sequence, expected struct T");
}

TEST(JsonRead, SeqMapTuple) {
    auto seq = [](std::string_view text) {
        Value x = v(text);
        double sum = 0;
        return msg(read_seq(x, [&](std::size_t, Value& e) -> Fault {
            double d = 0;
            if (Fault f = read_f64(e, d)) return f;
            sum += d;
            return {};
        }));
    };
    EXPECT_EQ(seq("[1,2]"), "ok");
    EXPECT_EQ(seq("{}"), "invalid type: map, expected a sequence");
    auto map = [](std::string_view text) {
        Value x = v(text);
        std::string keys;
        Fault f = read_map(x, [&](const std::string& k, Value&) -> Fault {
            keys += k;
            return {};
        });
        return f ? f->message : keys;
    };
    EXPECT_EQ(map("{\"b\":1,\"a\":2,\"B\":3}"), "Bab");
    EXPECT_EQ(map("[]"), "invalid type: sequence, expected a map");
    auto tup = [](std::string_view text) {
        Value x = v(text);
        return msg(read_tuple(x, 2, "a tuple of size 2", [](std::size_t, Value& e) -> Fault {
            if (e.is_bool()) return ReadError{"element fault"};
            return {};
        }));
    };
    EXPECT_EQ(tup("[\"a\", 1]"), "ok");
    EXPECT_EQ(tup("[\"a\"]"), "invalid length 1, expected a tuple of size 2");
    EXPECT_EQ(tup("[\"a\", 1, 2]"), "invalid length 3, expected fewer elements in array");
    EXPECT_EQ(tup("[true]"), "element fault");
    EXPECT_EQ(tup("{}"), "invalid type: map, expected a tuple of size 2");
}

TEST(JsonRead, Enums) {
    constexpr std::array<std::string_view, 4> order{"market", "limit", "stop", "stop_limit"};
    constexpr std::array<std::string_view, 6> feeds{"kline", "trade", "orderbook", "trade_quote", "derivatives",
                                                     "cross_section"};
    auto unit = [](std::string_view text, std::span<const std::string_view> names, std::string_view unit_text) {
        Value x = v(text);
        std::size_t idx = 99;
        Fault f = read_unit_enum(x, names, unit_text, idx);
        return f ? f->message : std::to_string(idx);
    };
    EXPECT_EQ(unit("\"stop_limit\"", order, "unit"), "3");
    EXPECT_EQ(unit("{\"stop_limit\":null}", order, "unit"), "3");
    EXPECT_EQ(unit("{\"limit\":1}", order, "unit"), "invalid type: integer `1`, expected unit");
    EXPECT_EQ(unit("{\"kline\":1}", feeds, "unit variant"), "invalid type: integer `1`, expected unit variant");
    EXPECT_EQ(unit("{}", order, "unit"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(unit("{\"a\":null,\"b\":null}", order, "unit"), "invalid value: map, expected map with a single key");
    EXPECT_EQ(unit("0", order, "unit"), "invalid type: integer `0`, expected string or map");
    EXPECT_EQ(unit("\"Market\"", order, "unit"),
              "unknown variant `Market`, expected one of `market`, `limit`, `stop`, `stop_limit`");
    EXPECT_EQ(unit("{\"Market\":5}", order, "unit"),
              "unknown variant `Market`, expected one of `market`, `limit`, `stop`, `stop_limit`");

    constexpr std::array<std::string_view, 3> conds{"gt", "lt", "not"};
    Value bare = v("\"gt\"");
    VariantKey key;
    EXPECT_EQ(msg(read_variant_key(bare, conds, key)), "ok");
    EXPECT_EQ(key.payload, nullptr);
    Value obj = v("{\"not\":{\"gt\":[1,2]}}");
    EXPECT_EQ(msg(read_variant_key(obj, conds, key)), "ok");
    EXPECT_EQ(key.index, 2u);
    ASSERT_NE(key.payload, nullptr);
    EXPECT_TRUE(key.payload->is_object());
}

TEST(JsonRead, InternalTag) {
    constexpr std::array<std::string_view, 5> sizing{"fixed_fraction", "fixed_qty", "fixed_cash", "vol_target",
                                                      "risk_per_trade"};
    auto tag = [&](std::string_view text) {
        Value x = v(text);
        std::size_t idx = 99;
        Fault f = read_internal_tag(x, "internally tagged enum Sizing", "type", sizing, idx);
        return f ? f->message : std::to_string(idx);
    };
    EXPECT_EQ(tag("{\"type\":\"vol_target\"}"), "3");
    EXPECT_EQ(tag("[\"fixed_qty\", 1]"), "1");
    EXPECT_EQ(tag("[]"), "missing field `type`");
    EXPECT_EQ(tag("{\"fraction\":0.5}"), "missing field `type`");
    EXPECT_EQ(tag("{\"type\":1,\"qty\":1}"), "invalid type: integer `1`, expected variant identifier");
    EXPECT_EQ(tag("\"fixed_qty\""), "invalid type: string \"fixed_qty\", expected internally tagged enum Sizing");
    EXPECT_EQ(tag("{\"type\":\"Fixed_Fraction\"}"),
              "unknown variant `Fixed_Fraction`, expected one of `fixed_fraction`, `fixed_qty`, `fixed_cash`, "
              "`vol_target`, `risk_per_trade`");

    // The variant's fields, array form after the name.
    static constexpr Field vt[] = {{"target_vol", true}, {"lookback", true}};
    static constexpr RecordShape vt_shape{"struct variant Sizing::VolTarget", "struct variant Sizing::VolTarget with 2 elements",
                                   vt, false, true, "2 elements in sequence"};
    auto fields = [&](std::string_view text) {
        Value x = v(text);
        double tv = 0;
        std::uint32_t lb = 0;
        auto rd = [&](std::size_t i, Value& f) -> Fault { return i == 0 ? read_f64(f, tv) : read_u32(f, lb); };
        Fault f = x.is_array() ? read_record_elements(std::span<Value>(x.as_array()).subspan(1), vt_shape, rd)
                               : read_record_object(x.as_object(), vt_shape, rd);
        return msg(f);
    };
    EXPECT_EQ(fields("[\"vol_target\", 0.2]"), "invalid length 1, expected struct variant Sizing::VolTarget with 2 elements");
    EXPECT_EQ(fields("[\"vol_target\", 0.2, 20, 5]"), "invalid length 3, expected 2 elements in sequence");
    EXPECT_EQ(fields("{\"type\":\"vol_target\",\"target_vol\":0.2,\"lookback\":20.0}"),
              "invalid type: floating point `20.0`, expected u32");
    EXPECT_EQ(fields("{\"type\":\"vol_target\"}"), "missing field `target_vol`");
}
