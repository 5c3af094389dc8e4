#include <gtest/gtest.h>

#include <string>

#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "json/parse.hpp"
#include "formats_support.hpp"

using namespace ostrel;
using json::Value;
using namespace formats_support;

TEST(Suite, ValidateCasesAndIds) {
    Value x = v("[" + case_text("b") + "," + case_text("a") + "," + case_text("c") + "]");
    std::vector<BenchmarkCase> cases;
    ASSERT_EQ(msg(read_cases(x, cases)), "ok");
    EXPECT_FALSE(validate_cases(cases).has_value());
    EXPECT_EQ(case_ids(cases), (std::vector<std::string>{"a", "b", "c"}));
    Value dup = v("[" + case_text("b") + "," + case_text("b") + "]");
    ASSERT_EQ(msg(read_cases(dup, cases)), "ok");
    EXPECT_EQ(validate_cases(cases)->display(), "invalid case: duplicate case id: b");
    // A case's own check comes before the duplicate test.
    Value both = v("[" + case_text("b") + "," + case_text("b", "XYZ") + "]");
    ASSERT_EQ(msg(read_cases(both, cases)), "ok");
    EXPECT_EQ(validate_cases(cases)->display(),
              "invalid case: expected_hash must be 64 lowercase hex characters, got \"XYZ\"");
    EXPECT_FALSE(validate_cases({}).has_value());
}

TEST(Suite, RunSuiteLooksUpDatasetsFirst) {
    std::string c3 = case_text("c");
    c3.replace(c3.find("\"ds\""), 4, "\"missing\"");
    Value x = v("[" + case_text("a") + "," + case_text("b") + "," + c3 + "]");
    std::vector<BenchmarkCase> cases;
    ASSERT_EQ(msg(read_cases(x, cases)), "ok");
    Datasets ds;
    ds["ds"] = {};
    auto r = run_suite(cases, ds);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().display(), "data error: no dataset supplied for missing");
    auto empty = run_suite({}, ds);
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->passed, 0u);
    EXPECT_EQ(empty->failed, 0u);
}

