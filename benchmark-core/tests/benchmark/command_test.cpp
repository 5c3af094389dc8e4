#include <gtest/gtest.h>

#include <string>

#include "benchmark/command.hpp"

using namespace ostrel;

namespace {

std::string run(std::string_view text) {
    auto r = command(text);
    EXPECT_TRUE(r.has_value());
    return r ? *r : "";
}

std::string error_of(std::string_view msg) {
    return "{\"error\":\"" + std::string(msg) + "\",\"ok\":false}";
}

const std::string kHash(64, 'a');

std::string case_text(std::string_view id) {
    return "{\"id\":\"" + std::string(id) + "\",\"description\":\"d\",\"strategy\":{},\"dataset_ref\":\"ds\","
           "\"expected\":{},\"expected_hash\":\"" + kHash + "\"}";
}

}  // namespace

TEST(Command, Version) {
    EXPECT_EQ(run("{\"cmd\":\"version\"}"), "{\"engine_version\":\"0.2.0\",\"version\":\"0.2.0\"}");
    EXPECT_EQ(run(" {\"cmd\":\"version\"} \t\r\n"), "{\"engine_version\":\"0.2.0\",\"version\":\"0.2.0\"}");
    EXPECT_EQ(run("{\"cmd\":\"version\",\"extra\":1}"), "{\"engine_version\":\"0.2.0\",\"version\":\"0.2.0\"}");
}

TEST(Command, ParseErrors) {
    EXPECT_EQ(run(""), error_of("parse error: EOF while parsing a value at line 1 column 0"));
    EXPECT_EQ(run("{\"cmd\":\"version\"} x"), error_of("parse error: trailing characters at line 1 column 19"));
    EXPECT_EQ(run("{\"cmd\":\"version\"\n,}"), error_of("parse error: trailing comma at line 2 column 2"));
    EXPECT_EQ(run("{\"a\":\"\\q\"}"), error_of("parse error: invalid escape at line 1 column 8"));
}

TEST(Command, UnknownCommands) {
    EXPECT_EQ(run("{\"cmd\":\"nope\"}"), error_of("parse error: unknown cmd: nope"));
    EXPECT_EQ(run("{\"cmd\":\"VERSION\"}"), error_of("parse error: unknown cmd: VERSION"));
    EXPECT_EQ(run("[]"), error_of("parse error: unknown cmd: "));
    EXPECT_EQ(run("\"version\""), error_of("parse error: unknown cmd: "));
    EXPECT_EQ(run("5"), error_of("parse error: unknown cmd: "));
    EXPECT_EQ(run("{\"cmd\":5}"), error_of("parse error: unknown cmd: "));
    EXPECT_EQ(run("{}"), error_of("parse error: unknown cmd: "));
    // The name is written with the writer's escapes.
    EXPECT_EQ(run("{\"cmd\":\"a\\\"b\\u0001\"}"), error_of("parse error: unknown cmd: a\\\"b\\u0001"));
}

TEST(Command, LastCmdWins) {
    EXPECT_EQ(run("{\"cmd\":\"version\",\"cmd\":\"list_cases\"}"), error_of("parse error: missing field `suite`"));
}

TEST(Command, ListCases) {
    EXPECT_EQ(run("{\"cmd\":\"list_cases\",\"suite\":{\"cases\":[]}}"), "{\"ids\":[]}");
    EXPECT_EQ(run("{\"cmd\":\"list_cases\",\"suite\":{\"cases\":[" + case_text("b") + "," + case_text("a") + "," +
                  case_text("c") + "]}}"),
              "{\"ids\":[\"a\",\"b\",\"c\"]}");
    EXPECT_EQ(run("{\"cmd\":\"list_cases\",\"suite\":{\"cases\":[" + case_text("b") + "," + case_text("b") + "]}}"),
              error_of("invalid case: duplicate case id: b"));
    EXPECT_EQ(run("{\"cmd\":\"list_cases\",\"suite\":[]}"),
              error_of("parse error: invalid length 1, expected struct Suite with 2 elements"));
}

TEST(Command, RunCaseAndSuite) {
    EXPECT_EQ(run("{\"cmd\":\"run_case\"}"), error_of("parse error: missing field `case`"));
    EXPECT_EQ(run("{\"cmd\":\"run_case\",\"case\":" + case_text("a") + "}"), error_of("parse error: missing field `data`"));
    EXPECT_EQ(run("{\"cmd\":\"run_case\",\"case\":" + case_text("a") + ",\"data\":{}}"),
              error_of("parse error: invalid type: map, expected a sequence"));
    EXPECT_EQ(run("{\"cmd\":\"run_suite\",\"suite\":{\"cases\":[]}}"), "{\"failed\":0,\"passed\":0,\"results\":[]}");
    EXPECT_EQ(run("{\"cmd\":\"run_suite\",\"datasets\":[]}"),
              error_of("parse error: invalid type: sequence, expected a map"));
    EXPECT_EQ(run("{\"cmd\":\"run_suite\",\"suite\":{\"cases\":[" + case_text("a") + "]}}"),
              error_of("data error: no dataset supplied for ds"));
    std::string bad_hash = case_text("a");
    bad_hash.replace(bad_hash.find(kHash), 64, std::string(64, 'A'));
    EXPECT_EQ(run("{\"cmd\":\"run_case\",\"case\":" + bad_hash + ",\"data\":[]}"),
              error_of("invalid case: expected_hash must be 64 lowercase hex characters, got \\\"" +
                       std::string(64, 'A') + "\\\""));
}
