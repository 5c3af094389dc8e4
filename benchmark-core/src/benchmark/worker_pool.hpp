// The process-wide pool of worker threads on which a suite's cases run.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "indicators/expected.hpp"

namespace ostrel {

// The most workers a pool starts. A larger count from the environment is taken as
// this one: reserving or starting billions of threads would only fail or starve the
// machine, and no processor count comes near it.
inline constexpr std::size_t kMaxWorkers = 1024;

class WorkerPool {
public:
    // Starts `workers` threads, at most kMaxWorkers. When the system refuses a thread the pool keeps the
    // ones it has; with none at all, batches run on the calling thread.
    explicit WorkerPool(std::size_t workers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Number of threads actually running.
    std::size_t size() const { return threads_.size(); }

    // Calls task(i) once for every i in [0, count) on the workers, handing the
    // indices out in ascending order, and returns when every call has returned.
    // One batch runs at a time; a second caller waits for its turn. An exception
    // thrown by a task is rethrown here (the first one; the others are dropped).
    template <class F>
    void run(std::size_t count, F&& task) {
        using Fn = std::remove_reference_t<F>;
        run_erased(count, [](void* ctx, std::size_t i) { (*static_cast<Fn*>(ctx))(i); },
                   const_cast<void*>(static_cast<const void*>(&task)));
    }

private:
    using TaskFn = void (*)(void*, std::size_t);
    void run_erased(std::size_t count, TaskFn fn, void* ctx);
    void worker_loop();
    // Takes indices until the batch is exhausted; called with `m_` held.
    void drain(std::unique_lock<std::mutex>& lock);

    std::mutex submit_;  // one batch at a time
    std::mutex m_;
    std::condition_variable work_cv_;
    std::condition_variable done_cv_;
    TaskFn fn_ = nullptr;
    void* ctx_ = nullptr;
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    std::size_t finished_ = 0;
    std::size_t generation_ = 0;
    std::exception_ptr error_;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

// Runs task(i) for every i in [0, count) on `pool`; task returns an Expected<T, E>.
// The results come back in index order. When tasks fail, the error of the lowest
// failing index is the result, whatever the order in which they finished: a task
// is skipped when a lower index has already failed, while tasks with lower
// indices still run (the pool hands indices out in ascending order, so all of
// them have started or will), and a failure replaces a stored error of a higher
// index. The result is therefore the one a single worker gives.
template <class T, class E, class F>
Expected<std::vector<T>, E> run_all(WorkerPool& pool, std::size_t count, F&& task) {
    std::vector<std::optional<T>> slots(count);
    std::mutex error_mutex;
    std::optional<E> error;
    // The lowest index that failed so far; count while none has.
    std::atomic<std::size_t> first_failed{count};
    pool.run(count, [&](std::size_t i) {
        if (i > first_failed.load(std::memory_order_acquire)) return;
        Expected<T, E> r = task(i);
        if (r) {
            slots[i].emplace(std::move(*r));
            return;
        }
        std::lock_guard<std::mutex> lock(error_mutex);
        if (i < first_failed.load(std::memory_order_relaxed)) {
            error.emplace(std::move(r).error());
            first_failed.store(i, std::memory_order_release);
        }
    });
    if (error) return std::move(*error);
    std::vector<T> out;
    out.reserve(count);
    for (std::optional<T>& s : slots) out.push_back(std::move(*s));
    return out;
}

// Worker count from the values of RAYON_NUM_THREADS and RAYON_RS_NUM_CPUS (null when
// unset) and the processor count: a positive whole number in the first wins, 0 there
// means the processor count; when the first is unset or not a whole number, a
// positive whole number in the second, else the processor count. The result is at
// most kMaxWorkers.
std::size_t pool_size_from(const char* num_threads, const char* rs_num_cpus, std::size_t processors);

// Processors this process may run on (1 when that cannot be found).
std::size_t available_processors();

// The process-wide pool, created on first use with the size that the environment
// gives. A child process forked after the pool started gets a fresh pool of its own
// (the parent's threads do not exist there).
WorkerPool& global_worker_pool();

}  // namespace ostrel
