// Ring: runtime. The threads of one job. A job that can share its work makes a
// pool at its start; the pool's helper threads wait for work, and are joined
// (never killed) when the pool goes out of scope, so Abort still returns with
// every thread of the job gone. The job's own thread works too: a pool of
// size 1 has no helpers and runs everything on the caller, as a job without
// a pool would.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace tapwell {

// The threads a run asked for: `requested`, or all the machine's cores when
// it is 0. At least 1.
int pool_threads(int requested);
// The threads for a run of `units` pieces of work, each worth a thread of its
// own (a millisecond or so): no more than there are pieces, at least one. A
// small run is not worth the starting of threads.
int pool_threads_for(std::uint64_t units, int requested);

// The pool also carries the run's stop token: what runs on it asks stopped()
// between pieces, and passes stop_check() to the kernels it calls.
class WorkerPool {
public:
    explicit WorkerPool(int threads, std::stop_token stop = {});
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int size() const { return static_cast<int>(helpers_.size()) + 1; }
    bool stopped() const { return stop_.stop_requested(); }
    const std::stop_token& stop_token() const { return stop_; }

    // Calls task(i) for every i in [0, count), spread over the pool's threads
    // (the caller's among them), and returns when every call has returned.
    // Tasks of one call must not depend on each other's order.
    void for_each(std::size_t count, const std::function<void(std::size_t)>& task);

private:
    void help();
    void run_tasks(std::uint64_t round, const std::function<void(std::size_t)>& task, std::size_t count);

    std::stop_token stop_;
    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable work_ready_;
    std::condition_variable work_done_;
    // The current call of for_each, under the mutex: its task and count, and
    // its number among the calls (round_).
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    std::uint64_t round_ = 0;
    bool closing_ = false;
    // Taken without the lock: the round and the next index to hand out in one
    // word, and how many tasks of the round have returned.
    std::atomic<std::uint64_t> ticket_{0};
    std::atomic<std::size_t> finished_{0};
};

}  // namespace tapwell
