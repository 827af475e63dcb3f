// Ring: jobs. See worker_pool.h.
#include "jobs/worker_pool.h"

#include <atomic>

namespace tapwell {

namespace {

int default_threads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

std::atomic<int> configured_threads{0};  // 0: all the machine's cores

}  // namespace

int job_threads() {
    const int configured = configured_threads.load(std::memory_order_relaxed);
    return configured > 0 ? configured : default_threads();
}

void set_job_threads(int threads) { configured_threads.store(threads > 0 ? threads : 0, std::memory_order_relaxed); }

WorkerPool::WorkerPool(int threads) {
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
    {
        std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        next_ = 0;
        finished_ = 0;
        ++round_;
    }
    work_ready_.notify_all();
    run_tasks();
    std::unique_lock lock(mutex_);
    work_done_.wait(lock, [this] { return finished_ == count_; });
    task_ = nullptr;
}

// Takes indices of the current call until none are left.
void WorkerPool::run_tasks() {
    std::unique_lock lock(mutex_);
    while (task_ != nullptr && next_ < count_) {
        const std::size_t i = next_++;
        const std::function<void(std::size_t)>& task = *task_;
        lock.unlock();
        task(i);
        lock.lock();
        if (++finished_ == count_) work_done_.notify_all();
    }
}

void WorkerPool::help() {
    unsigned served = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            work_ready_.wait(lock, [&] { return closing_ || round_ != served; });
            if (closing_) return;
            served = round_;
        }
        run_tasks();
    }
}

}  // namespace tapwell
