#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "benchmark/command.hpp"
#include "benchmark/worker_pool.hpp"

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

// A process allowed on one processor, with neither pool variable set, runs its suites on
// one worker: the processor count is the affinity mask's, not the machine's. The example
// suite's response there is the one the default pool gives, every case passing.
TEST(Command, OneProcessorMaskRunsTheSuiteOnOneWorker) {
    std::ifstream in(std::string(OSTREL_EXAMPLES_DIR) + "/run_suite.json", std::ios::binary);
    std::stringstream request;
    request << in.rdbuf();
    const std::string expected = run(request.str());
    ASSERT_NE(expected.find("\"failed\":0,\"passed\":3,"), std::string::npos) << expected.substr(0, 200);

    cpu_set_t mask;
    CPU_ZERO(&mask);
    ASSERT_EQ(sched_getaffinity(0, sizeof(mask), &mask), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &mask)) ++cpu;
    pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        alarm(60);  // a hang ends the child with SIGALRM
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        if (sched_setaffinity(0, sizeof(one), &one) != 0) _exit(10);
        unsetenv("RAYON_NUM_THREADS");
        unsetenv("RAYON_RS_NUM_CPUS");
        auto r = command(request.str());
        if (!r || *r != expected) _exit(11);
        if (available_processors() != 1) _exit(12);
        _exit(global_worker_pool().size() == 1 ? 0 : 13);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "child did not exit normally (signal " << WTERMSIG(status) << ")";
    // 10: the mask was refused; 11: another response; 12: processors not 1; 13: pool not 1.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
