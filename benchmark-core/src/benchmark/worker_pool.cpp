#include "benchmark/worker_pool.hpp"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <system_error>

namespace ostrel {

WorkerPool::WorkerPool(std::size_t workers) {
    workers = std::min(workers, kMaxWorkers);
    threads_.reserve(workers);
    for (std::size_t k = 0; k < workers; ++k) {
        try {
            threads_.emplace_back([this] { worker_loop(); });
        } catch (const std::system_error&) {
            break;  // the system gives no more threads: work with those already running
        }
    }
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<std::mutex> lock(m_);
        stop_ = true;
    }
    work_cv_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void WorkerPool::drain(std::unique_lock<std::mutex>& lock) {
    while (next_ < count_) {
        std::size_t i = next_++;
        TaskFn fn = fn_;
        void* ctx = ctx_;
        lock.unlock();
        std::exception_ptr caught;
        try {
            fn(ctx, i);
        } catch (...) {
            caught = std::current_exception();
        }
        lock.lock();
        if (caught && !error_) error_ = caught;
        if (++finished_ == count_) done_cv_.notify_all();
    }
}

void WorkerPool::worker_loop() {
    std::unique_lock<std::mutex> lock(m_);
    // Batches are counted from 0 when the pool is built; a thread that starts late
    // still sees a batch submitted before it first took the lock.
    std::size_t seen = 0;
    for (;;) {
        work_cv_.wait(lock, [&] { return stop_ || generation_ != seen; });
        if (stop_) return;
        seen = generation_;
        drain(lock);
    }
}

void WorkerPool::run_erased(std::size_t count, TaskFn fn, void* ctx) {
    if (count == 0) return;
    std::lock_guard<std::mutex> turn(submit_);
    std::unique_lock<std::mutex> lock(m_);
    fn_ = fn;
    ctx_ = ctx;
    count_ = count;
    next_ = 0;
    finished_ = 0;
    error_ = nullptr;
    ++generation_;
    if (threads_.empty()) {
        drain(lock);
    } else {
        work_cv_.notify_all();
        done_cv_.wait(lock, [&] { return finished_ == count_; });
    }
    std::exception_ptr error = std::move(error_);
    error_ = nullptr;
    fn_ = nullptr;
    ctx_ = nullptr;
    lock.unlock();
    if (error) std::rethrow_exception(error);
}

namespace worker_pool_detail {

// A whole number written with decimal digits only, fitting a size_t.
bool parse_count(const char* text, std::size_t& out) {
    if (text == nullptr || *text == '\0') return false;
    std::size_t v = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        std::size_t d = static_cast<std::size_t>(*p - '0');
        if (v > (std::numeric_limits<std::size_t>::max() - d) / 10) return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

std::mutex& global_mutex() {
    // Never destroyed: the pool outlives every static destructor.
    static std::mutex* m = new std::mutex();
    return *m;
}
WorkerPool* global_pool = nullptr;
bool atfork_registered = false;

// In a forked child only the forking thread exists: the parent's pool (its
// threads, and perhaps a mutex held at the fork) is abandoned, and the next suite
// run builds a new one.
void after_fork_in_child() {
    global_pool = nullptr;
    new (&global_mutex()) std::mutex();
}

}  // namespace worker_pool_detail

std::size_t pool_size_from(const char* num_threads, const char* rs_num_cpus, std::size_t processors) {
    std::size_t n = processors;
    std::size_t v = 0;
    if (worker_pool_detail::parse_count(num_threads, v)) {
        if (v > 0) n = v;
    } else if (worker_pool_detail::parse_count(rs_num_cpus, v) && v > 0) {
        n = v;
    }
    return std::min(n, kMaxWorkers);
}

std::size_t available_processors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0) {
        int n = CPU_COUNT(&set);
        if (n > 0) return static_cast<std::size_t>(n);
    }
    unsigned h = std::thread::hardware_concurrency();
    return h > 0 ? h : 1;
}

WorkerPool& global_worker_pool() {
    namespace d = worker_pool_detail;
    std::lock_guard<std::mutex> lock(d::global_mutex());
    if (d::global_pool == nullptr) {
        if (!d::atfork_registered) {
            pthread_atfork(nullptr, nullptr, &d::after_fork_in_child);
            d::atfork_registered = true;
        }
        std::size_t n = pool_size_from(std::getenv("RAYON_NUM_THREADS"), std::getenv("RAYON_RS_NUM_CPUS"),
                                       available_processors());
        // Deliberately never destroyed: joining workers from a static destructor at
        // interpreter exit could hang.
        d::global_pool = new WorkerPool(n);
    }
    return *d::global_pool;
}

}  // namespace ostrel
