#include <gtest/gtest.h>

#include <string>

#include "benchmark/formats.hpp"
#include "json/parse.hpp"
#include "formats_support.hpp"

using namespace ostrel;
using json::Value;
using namespace formats_support;

namespace {

std::string read_case_msg(std::string_view text) {
    Value x = v(text);
    BenchmarkCase c;
    return msg(read_case(x, c));
}

std::string candles_msg(std::string_view text) {
    Value x = v(text);
    std::vector<Candle> cs;
    return msg(read_candles(x, cs));
}

std::string suite_msg(std::string_view text) {
    Value x = v(text);
    Suite s;
    return msg(read_suite(x, s));
}

std::string validate_msg(std::string_view text) {
    Value x = v(text);
    BenchmarkCase c;
    auto f = read_case(x, c);
    if (f) return "read: " + f->message;
    auto e = c.validate();
    return e ? e->display() : "ok";
}

}  // namespace

TEST(Formats, CaseObjectAndArray) {
    Value x = v(case_text());
    BenchmarkCase c;
    ASSERT_EQ(msg(read_case(x, c)), "ok");
    EXPECT_EQ(c.id, "c1");
    EXPECT_EQ(c.description, "d");
    EXPECT_TRUE(c.strategy.is_object());
    EXPECT_EQ(c.dataset_ref, "ds");
    EXPECT_TRUE(c.expected.is_object());
    EXPECT_EQ(c.expected_hash, kHash);
    Value y = v("[\"c2\",\"d\",{\"symbol\":\"X\"},\"ds\",{},\"" + kHash + "\"]");
    ASSERT_EQ(msg(read_case(y, c)), "ok");
    EXPECT_EQ(c.id, "c2");
    EXPECT_EQ(c.strategy.find("symbol")->as_string(), "X");
}

TEST(Formats, CaseFaults) {
    EXPECT_EQ(read_case_msg("{\"id\":\"a\",\"dataset_ref\":\"b\",\"strategy\":{},\"expected\":{}}"),
              "missing field `description`");
    EXPECT_EQ(read_case_msg("{\"notes\":1}"),
              "unknown field `notes`, expected one of `id`, `description`, `strategy`, `dataset_ref`, `expected`, "
              "`expected_hash`");
    // The unknown member is met in key order: "id" reads first, a bad id wins.
    EXPECT_EQ(read_case_msg("{\"id\":5,\"notes\":1}"), "invalid type: integer `5`, expected a string");
    EXPECT_EQ(read_case_msg("{\"zzz\":1,\"id\":\"a\"}"),
              "unknown field `zzz`, expected one of `id`, `description`, `strategy`, `dataset_ref`, `expected`, "
              "`expected_hash`");
    EXPECT_EQ(read_case_msg("[]"), "invalid length 0, expected struct BenchmarkCase with 6 elements");
    EXPECT_EQ(read_case_msg("[\"a\",\"b\",{},\"c\",{}]"), "invalid length 5, expected struct BenchmarkCase with 6 elements");
    EXPECT_EQ(read_case_msg("[\"a\",\"b\",{},\"c\",{},\"h\",7]"), "invalid length 7, expected fewer elements in array");
    EXPECT_EQ(read_case_msg("5"), "invalid type: integer `5`, expected struct BenchmarkCase");
    EXPECT_EQ(read_case_msg("null"), "invalid type: null, expected struct BenchmarkCase");
}

TEST(Formats, CaseChecks) {
    EXPECT_EQ(validate_msg(case_text()), "ok");
    EXPECT_EQ(validate_msg(case_text("")), "invalid case: case id must not be empty");
    EXPECT_EQ(validate_msg("{\"id\":\"\",\"description\":\"\",\"strategy\":[],\"dataset_ref\":\"\",\"expected\":[],"
                           "\"expected_hash\":\"\"}"),
              "invalid case: case id must not be empty");
    EXPECT_EQ(validate_msg("{\"id\":\"x\",\"description\":\"\",\"strategy\":{},\"dataset_ref\":\"\",\"expected\":{},"
                           "\"expected_hash\":\"" + kHash + "\"}"),
              "invalid case: dataset_ref must not be empty");
    std::string upper(64, 'A');
    EXPECT_EQ(validate_msg(case_text("c", upper)),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"" + upper + "\"");
    EXPECT_EQ(validate_msg(case_text("c", std::string(63, 'a'))),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"" + std::string(63, 'a') + "\"");
    EXPECT_EQ(validate_msg(case_text("c", std::string(65, 'a'))),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"" + std::string(65, 'a') + "\"");
    EXPECT_EQ(validate_msg(case_text("c", "a\\\"\\n\\u0001")),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"a\\\"\\n\\u{1}\"");
    // A hash pasted with an invisible byte order mark or zero-width space shows it.
    EXPECT_EQ(validate_msg(case_text("c", "\\ufeff" + std::string(63, 'a') + "\\u200b")),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"\\u{feff}" +
                  std::string(63, 'a') + "\\u{200b}\"");
    EXPECT_EQ(validate_msg("{\"id\":\"x\",\"description\":\"\",\"strategy\":{},\"dataset_ref\":\"d\",\"expected\":[],"
                           "\"expected_hash\":\"" + kHash + "\"}"),
              "invalid case: expected must be a JSON object (a BacktestReport)");
    EXPECT_EQ(validate_msg("{\"id\":\"x\",\"description\":\"\",\"strategy\":[],\"dataset_ref\":\"d\",\"expected\":{},"
                           "\"expected_hash\":\"" + kHash + "\"}"),
              "invalid strategy spec: strategy must be a JSON object (a StrategySpec)");
    EXPECT_EQ(validate_msg("{\"id\":\"x\",\"description\":\"\",\"strategy\":\"s\",\"dataset_ref\":\"d\",\"expected\":{},"
                           "\"expected_hash\":\"" + kHash + "\"}"),
              "invalid strategy spec: strategy must be a JSON object (a StrategySpec)");
}

TEST(Formats, Suite) {
    Value x = v("{\"cases\":[]}");
    Suite s;
    ASSERT_EQ(msg(read_suite(x, s)), "ok");
    EXPECT_EQ(s.name, "");
    EXPECT_TRUE(s.cases.empty());
    EXPECT_EQ(suite_msg("{\"name\":\"n\"}"), "missing field `cases`");
    EXPECT_EQ(suite_msg("[]"), "invalid length 1, expected struct Suite with 2 elements");
    EXPECT_EQ(suite_msg("[\"n\"]"), "invalid length 1, expected struct Suite with 2 elements");
    EXPECT_EQ(suite_msg("[\"n\", [], 3]"), "invalid length 3, expected fewer elements in array");
    EXPECT_EQ(suite_msg("[\"n\", []]"), "ok");
    EXPECT_EQ(suite_msg("{\"cases\":{}}"), "invalid type: map, expected a sequence");
    EXPECT_EQ(suite_msg("{\"cases\":[], \"name\": 3}"), "invalid type: integer `3`, expected a string");
    EXPECT_EQ(suite_msg("{\"cases\":[], \"extra\": 3}"), "ok");
    EXPECT_EQ(suite_msg("\"s\""), "invalid type: string \"s\", expected struct Suite");
    EXPECT_EQ(suite_msg("{\"cases\":[" + case_text() + ",{\"notes\":1}]}"),
              "unknown field `notes`, expected one of `id`, `description`, `strategy`, `dataset_ref`, `expected`, "
              "`expected_hash`");
}

TEST(Formats, Candles) {
    Value x = v("[[1,2,3,4,5],[6,7.5,8,9,10,11],{\"time\":-5,\"open\":1,\"high\":2,\"low\":0.5,\"close\":1.5},"
                "{\"time\":7,\"open\":1,\"high\":2,\"low\":0.5,\"close\":1.5,\"volume\":9,\"extra\":null}]");
    std::vector<Candle> cs;
    ASSERT_EQ(msg(read_candles(x, cs)), "ok");
    ASSERT_EQ(cs.size(), 4u);
    EXPECT_EQ(cs[0].time, 1);
    EXPECT_EQ(cs[0].close, 5.0);
    EXPECT_EQ(cs[0].volume, 0.0);
    EXPECT_EQ(cs[1].open, 7.5);
    EXPECT_EQ(cs[1].volume, 11.0);
    EXPECT_EQ(cs[2].time, -5);
    EXPECT_EQ(cs[2].volume, 0.0);
    EXPECT_EQ(cs[3].volume, 9.0);
    EXPECT_EQ(candles_msg("[[1,2,3,4]]"), "invalid length 4, expected struct Candle with 6 elements");
    EXPECT_EQ(candles_msg("[[1,2,3,4,5,6,7]]"), "invalid length 7, expected fewer elements in array");
    EXPECT_EQ(candles_msg("[{\"time\":1,\"open\":1,\"high\":1,\"low\":1,\"close\":1,\"volume\":null}]"),
              "invalid type: null, expected f64");
    EXPECT_EQ(candles_msg("[{\"time\":1.0,\"open\":1,\"high\":1,\"low\":1,\"close\":1}]"),
              "invalid type: floating point `1.0`, expected i64");
    EXPECT_EQ(candles_msg("[[1.0,1,1,1,1]]"), "invalid type: floating point `1.0`, expected i64");
    EXPECT_EQ(candles_msg("[[9223372036854775808,1,1,1,1]]"),
              "invalid value: integer `9223372036854775808`, expected i64");
    EXPECT_EQ(candles_msg("[[\"1\",1,1,1,1]]"), "invalid type: string \"1\", expected i64");
    EXPECT_EQ(candles_msg("[[1,1,null,1,1]]"), "invalid type: null, expected f64");
    EXPECT_EQ(candles_msg("[{}]"), "missing field `time`");
    EXPECT_EQ(candles_msg("[{\"time\":1,\"close\":1}]"), "missing field `open`");
    EXPECT_EQ(candles_msg("[{\"time\":1,\"open\":1,\"high\":1,\"close\":1}]"), "missing field `low`");
    EXPECT_EQ(candles_msg("[{\"time\":1,\"open\":1,\"high\":1,\"low\":1}]"), "missing field `close`");
    // Members in key order: "close" is met before "time".
    EXPECT_EQ(candles_msg("[{\"time\":1.5,\"close\":\"x\"}]"), "invalid type: string \"x\", expected f64");
    EXPECT_EQ(candles_msg("{}"), "invalid type: map, expected a sequence");
    EXPECT_EQ(candles_msg("[5]"), "invalid type: integer `5`, expected struct Candle");
    // No value checks here.
    EXPECT_EQ(candles_msg("[[1,1,0,5,1,-3]]"), "ok");
}

TEST(Formats, Datasets) {
    Value x = v("{\"eth\":[[1,1,1,1,1]],\"ETH\":[],\"b\":[[2,2,2,2,2,2]]}");
    Datasets ds;
    ASSERT_EQ(msg(read_datasets(x, ds)), "ok");
    ASSERT_EQ(ds.size(), 3u);
    EXPECT_EQ(ds.begin()->first, "ETH");
    EXPECT_EQ(ds["eth"].size(), 1u);
    Value bad = v("[]");
    EXPECT_EQ(msg(read_datasets(bad, ds)), "invalid type: sequence, expected a map");
}

TEST(Formats, Requests) {
    auto rc = [](std::string_view text) {
        Value x = v(text);
        RunCaseReq r;
        return msg(read_run_case_req(x, r));
    };
    EXPECT_EQ(rc("{\"cmd\":\"run_case\"}"), "missing field `case`");
    EXPECT_EQ(rc("{\"cmd\":\"run_case\",\"case\":" + case_text() + "}"), "missing field `data`");
    EXPECT_EQ(rc("{\"cmd\":\"run_case\",\"data\":[]}"), "missing field `case`");
    EXPECT_EQ(rc("{\"cmd\":\"run_case\",\"case\":5,\"data\":{}}"),
              "invalid type: integer `5`, expected struct BenchmarkCase");
    EXPECT_EQ(rc("{\"case\":" + case_text() + ",\"data\":{}}"), "invalid type: map, expected a sequence");
    auto rs = [](std::string_view text) {
        Value x = v(text);
        RunSuiteReq r;
        return msg(read_run_suite_req(x, r));
    };
    EXPECT_EQ(rs("{\"cmd\":\"run_suite\"}"), "missing field `suite`");
    EXPECT_EQ(rs("{\"datasets\":[]}"), "invalid type: sequence, expected a map");
    EXPECT_EQ(rs("{\"datasets\":[],\"suite\":5}"), "invalid type: sequence, expected a map");
    EXPECT_EQ(rs("{\"suite\":{\"cases\":[]}}"), "ok");
    auto lc = [](std::string_view text) {
        Value x = v(text);
        ListCasesReq r;
        return msg(read_list_cases_req(x, r));
    };
    EXPECT_EQ(lc("{\"cmd\":\"list_cases\"}"), "missing field `suite`");
    EXPECT_EQ(lc("{\"suite\":{\"cases\":[]},\"extra\":1}"), "ok");
}

TEST(Formats, ErrorDisplays) {
    EXPECT_EQ(BenchmarkError::backtest_engine(BacktestError::invalid_data("no candles")).display(),
              "backtest engine error: invalid input data: no candles");
    EXPECT_EQ(BenchmarkError::parse("unknown cmd: nope").display(), "parse error: unknown cmd: nope");
    EXPECT_EQ(BenchmarkError::invalid_case("x").display(), "invalid case: x");
    EXPECT_EQ(BenchmarkError::invalid_strategy_spec("x").display(), "invalid strategy spec: x");
    EXPECT_EQ(BenchmarkError::data("x").display(), "data error: x");
    EXPECT_EQ(BacktestError::invalid_params("Sma", "r").display(), "invalid parameters for indicator Sma: r");
    EXPECT_EQ(BacktestError::invalid_spec("s").display(), "invalid strategy spec: s");
    EXPECT_EQ(BacktestError::unknown_indicator("Foo").display(), "unknown indicator type: Foo");
    EXPECT_EQ(BacktestError::undeclared_indicator("rsi.value").display(),
              "rule references undeclared indicator: rsi.value");
}
