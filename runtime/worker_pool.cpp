// Ring: runtime. See worker_pool.h.
#include "runtime/worker_pool.h"

namespace tapwell {

namespace {

int default_threads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

constexpr int ROUND_SHIFT = 40;  // a ticket: the call of for_each above, the index below
constexpr std::uint64_t INDEX_MASK = (std::uint64_t{1} << ROUND_SHIFT) - 1u;

}  // namespace

int pool_threads(int requested) { return requested > 0 ? requested : default_threads(); }

int pool_threads_for(std::uint64_t units, int requested) {
    const auto threads = static_cast<std::uint64_t>(pool_threads(requested));
    return static_cast<int>(units < 1 ? 1 : units < threads ? units : threads);
}

WorkerPool::WorkerPool(int threads, std::stop_token stop) : stop_(std::move(stop)) {
    for (int t = 1; t < threads; ++t) helpers_.emplace_back([this] { help(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& t : helpers_) t.join();
}

void WorkerPool::for_each(std::size_t count, const std::function<void(std::size_t)>& task) {
    if (helpers_.empty() || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) task(i);
        return;
    }
    std::uint64_t round;
    {
        std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        round = ++round_;
        finished_.store(0, std::memory_order_relaxed);
        ticket_.store(round << ROUND_SHIFT, std::memory_order_release);
    }
    work_ready_.notify_all();
    run_tasks(round, task, count);
    std::unique_lock lock(mutex_);
    work_done_.wait(lock, [&] { return finished_.load(std::memory_order_acquire) == count; });
    task_ = nullptr;
}

// Takes indices of call `round` until none are left: each by a ticket, so a
// thread still busy with an earlier call never takes an index of this one.
void WorkerPool::run_tasks(std::uint64_t round, const std::function<void(std::size_t)>& task, std::size_t count) {
    for (;;) {
        std::uint64_t ticket = ticket_.load(std::memory_order_acquire);
        std::size_t index;
        do {
            if ((ticket >> ROUND_SHIFT) != round) return;
            index = static_cast<std::size_t>(ticket & INDEX_MASK);
            if (index >= count) return;
        } while (!ticket_.compare_exchange_weak(ticket, ticket + 1, std::memory_order_acq_rel));
        task(index);
        if (finished_.fetch_add(1, std::memory_order_acq_rel) + 1 == count) {
            std::lock_guard lock(mutex_);
            work_done_.notify_all();
        }
    }
}

void WorkerPool::help() {
    std::uint64_t served = 0;
    for (;;) {
        const std::function<void(std::size_t)>* task;
        std::size_t count;
        std::uint64_t round;
        {
            std::unique_lock lock(mutex_);
            work_ready_.wait(lock, [&] { return closing_ || (round_ != served && task_ != nullptr); });
            if (closing_) return;
            served = round = round_;
            task = task_;
            count = count_;
        }
        run_tasks(round, *task, count);
    }
}

}  // namespace tapwell
