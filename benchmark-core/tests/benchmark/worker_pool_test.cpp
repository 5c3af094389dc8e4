#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "benchmark/worker_pool.hpp"

using namespace ostrel;

TEST(WorkerPoolSize, EnvironmentRules) {
    // RAYON_NUM_THREADS: positive wins, 0 means the processor count.
    EXPECT_EQ(pool_size_from("3", nullptr, 8), 3u);
    EXPECT_EQ(pool_size_from("3", "5", 8), 3u);
    EXPECT_EQ(pool_size_from("0", "5", 8), 8u);
    EXPECT_EQ(pool_size_from("64", nullptr, 2), 64u);
    // Absent or unreadable: RAYON_RS_NUM_CPUS when positive, else the processors.
    EXPECT_EQ(pool_size_from(nullptr, "5", 8), 5u);
    EXPECT_EQ(pool_size_from("abc", "5", 8), 5u);
    EXPECT_EQ(pool_size_from("-1", "5", 8), 5u);
    EXPECT_EQ(pool_size_from("", "5", 8), 5u);
    EXPECT_EQ(pool_size_from(" 4", "5", 8), 5u);
    EXPECT_EQ(pool_size_from("2.0", "5", 8), 5u);
    EXPECT_EQ(pool_size_from("99999999999999999999999", "5", 8), 5u);
    EXPECT_EQ(pool_size_from(nullptr, "0", 8), 8u);
    EXPECT_EQ(pool_size_from(nullptr, "x", 8), 8u);
    EXPECT_EQ(pool_size_from(nullptr, nullptr, 6), 6u);
    EXPECT_GE(available_processors(), 1u);
}

TEST(WorkerPoolSize, AbsurdCountsAreCapped) {
    // A count that fits a size_t but no machine could start is capped, from either
    // variable, rather than failing every suite run with an allocation error.
    EXPECT_EQ(pool_size_from("99999999999", nullptr, 8), kMaxWorkers);
    EXPECT_EQ(pool_size_from(nullptr, "18446744073709551615", 8), kMaxWorkers);
    EXPECT_EQ(pool_size_from("1024", nullptr, 8), 1024u);
    EXPECT_EQ(pool_size_from("1025", nullptr, 8), kMaxWorkers);
    EXPECT_EQ(kMaxWorkers, 1024u);
}

TEST(WorkerPool, EveryIndexRunsOnceAndTheCallerWaits) {
    for (std::size_t workers : {0u, 1u, 4u}) {
        WorkerPool pool(workers);
        EXPECT_EQ(pool.size(), workers);
        for (std::size_t count : {0u, 1u, 3u, 100u}) {
            std::vector<std::atomic<int>> hits(count);
            pool.run(count, [&](std::size_t i) {
                std::this_thread::sleep_for(std::chrono::microseconds(i % 7));
                hits[i].fetch_add(1);
            });
            for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(hits[i].load(), 1) << workers << " " << i;
        }
    }
}

TEST(WorkerPool, OneWorkerTakesIndicesInOrder) {
    WorkerPool pool(1);
    std::vector<std::size_t> order;
    pool.run(10, [&](std::size_t i) { order.push_back(i); });
    std::vector<std::size_t> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(order, expected);
}

TEST(WorkerPool, TasksRunInParallel) {
    WorkerPool pool(4);
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    pool.run(4, [&](std::size_t) {
        int now = ++inside;
        int p = peak.load();
        while (now > p && !peak.compare_exchange_weak(p, now)) {
        }
        // Wait (bounded) until the others arrive, so that overlap is certain.
        for (int k = 0; k < 2000 && peak.load() < 4; ++k) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        --inside;
    });
    EXPECT_EQ(peak.load(), 4);
}

TEST(WorkerPool, ExceptionIsRethrownAfterTheBatch) {
    WorkerPool pool(3);
    std::atomic<int> ran{0};
    EXPECT_THROW(pool.run(20,
                          [&](std::size_t i) {
                              ++ran;
                              if (i == 5) throw std::runtime_error("boom");
                          }),
                 std::runtime_error);
    EXPECT_EQ(ran.load(), 20);
    // The pool stays usable.
    std::atomic<int> again{0};
    pool.run(5, [&](std::size_t) { ++again; });
    EXPECT_EQ(again.load(), 5);
}

TEST(WorkerPool, ConcurrentCallersTakeTurns) {
    WorkerPool pool(2);
    std::atomic<int> total{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c)
        callers.emplace_back([&] {
            for (int rep = 0; rep < 20; ++rep) pool.run(5, [&](std::size_t) { ++total; });
        });
    for (auto& t : callers) t.join();
    EXPECT_EQ(total.load(), 4 * 20 * 5);
}

TEST(RunAll, OneErrorStoredAndUnstartedTasksSkipped) {
    WorkerPool one(1);
    std::vector<int> ran;
    auto r = run_all<int, std::string>(one, 6, [&](std::size_t i) -> Expected<int, std::string> {
        ran.push_back(static_cast<int>(i));
        if (i == 2) return std::string("two");
        if (i == 4) return std::string("four");
        return static_cast<int>(i) * 10;
    });
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error(), "two");
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));

    // Many workers, many failures: exactly one of the errors comes back.
    WorkerPool many(8);
    for (int rep = 0; rep < 20; ++rep) {
        std::atomic<int> started{0};
        auto m = run_all<int, std::string>(many, 200, [&](std::size_t i) -> Expected<int, std::string> {
            ++started;
            if (i % 3 == 1) return "e" + std::to_string(i);
            return static_cast<int>(i);
        });
        ASSERT_FALSE(m.has_value());
        EXPECT_EQ(m.error()[0], 'e');
        EXPECT_LE(started.load(), 200);
    }

    // Results come back in index order whatever order the tasks finish in.
    auto ok = run_all<int, std::string>(many, 64, [&](std::size_t i) -> Expected<int, std::string> {
        std::this_thread::sleep_for(std::chrono::microseconds((64 - i) * 10));
        return static_cast<int>(i) * 10;
    });
    ASSERT_TRUE(ok.has_value());
    for (int i = 0; i < 64; ++i) EXPECT_EQ((*ok)[static_cast<std::size_t>(i)], i * 10);
}

TEST(WorkerPool, GlobalPoolIsCreatedOnceAndReused) {
    WorkerPool& a = global_worker_pool();
    WorkerPool& b = global_worker_pool();
    EXPECT_EQ(&a, &b);
    EXPECT_GE(a.size(), 1u);
}

// ThreadSanitizer refuses to start threads in the child of a multi-threaded fork.
// GCC says it is on by __SANITIZE_THREAD__, Clang by __has_feature.
#if defined(__SANITIZE_THREAD__)
#define OSTREL_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define OSTREL_UNDER_TSAN 1
#endif
#endif
#if !defined(OSTREL_UNDER_TSAN)
// A child forked after the pool started must still be able to run a batch (the
// parent's threads do not exist in the child).
TEST(WorkerPool, ForkedChildGetsAWorkingPool) {
    std::atomic<int> n{0};
    global_worker_pool().run(8, [&](std::size_t) { ++n; });
    ASSERT_EQ(n.load(), 8);
    pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        alarm(20);  // a hang ends the child with SIGALRM
        std::atomic<int> m{0};
        global_worker_pool().run(8, [&](std::size_t) { ++m; });
        _exit(m.load() == 8 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "child did not exit normally (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
