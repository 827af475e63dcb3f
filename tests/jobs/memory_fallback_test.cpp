// Ring: tests. The jobs' answers to a refused allocation: the correlation takes
// smaller chunks, the pair search steps every pair without the decimation
// tables. This program replaces the global allocation functions so that a test
// can refuse every block above a size; the log must not change.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/poly_text.h"
#include "core/primitivity.h"
#include "jobs/cross_correlation.h"
#include "library/pair_classifier.h"
#include "jobs/preferred_pairs.h"
#include "jobs/shared_state.h"
#include "jobs/job_control.h"
#include "runtime/worker_pool.h"
#include "tests/reference/recording_front_end.h"

namespace {

std::atomic<std::size_t> allocation_cap{0};  // 0: every size is granted
std::atomic<int> refused{0};

void* allocate(std::size_t size) {
    const std::size_t cap = allocation_cap.load(std::memory_order_relaxed);
    if (cap != 0 && size > cap) {
        refused.fetch_add(1, std::memory_order_relaxed);
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocate_or_throw(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return allocate_or_throw(size); }
void* operator new[](std::size_t size) { return allocate_or_throw(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tapwell {
namespace {

using Lines = std::vector<std::string>;

std::string poly_text(std::uint32_t g) { return std::string(format_binary(g).view()) + "1"; }

std::vector<std::uint32_t> first_primitives(int n, std::size_t count) {
    std::vector<std::uint32_t> list;
    for (std::uint32_t g = 1u << (n - 1); list.size() < count; ++g) {
        if (is_primitive_fast(g, n)) list.push_back(g);
    }
    return list;
}

// Runs the job once with every size granted and once with blocks above `cap`
// refused while the job runs; returns both logs and how many were refused.
template <typename Setup, typename Job>
void run_both_ways(Setup setup, Job job, int run_state, std::size_t cap, Lines& plain, Lines& capped,
                   int& refusals) {
    for (std::size_t limit : {std::size_t{0}, cap}) {
        testing::JobFixture f;
        setup();
        refused.store(0);
        allocation_cap.store(limit);
        f.run(job, run_state);
        allocation_cap.store(0);
        (limit == 0 ? plain : capped) = f.log_lines();
    }
    refusals = refused.load();
}

TEST(MemoryFallback, CorrelationInSmallerChunksLogsTheSame) {
    const int n = 15;  // one chunk of 2^15 values (128 KiB) when memory allows
    const std::vector<std::uint32_t> pair = first_primitives(n, 2);
    const std::string list = poly_text(pair[0]) + "\n1\n" + poly_text(pair[1]) + "\n1";
    Lines plain, capped;
    int refusals = 0;
    // On one thread: chunks of 2^15 and 2^14 values are refused; 2^13 (32 KiB)
    // are granted.
    set_job_threads(1);
    run_both_ways([&] { set_text_slot(SLOT_POLY_LIST, list.c_str()); }, correlate_pair, RUN_CORRELATE,
                  std::size_t{1} << 15, plain, capped, refusals);
    EXPECT_EQ(refusals, 2);
    ASSERT_EQ(plain.size(), (1u << n) + 2u);
    EXPECT_EQ(capped, plain);
    // On two threads at degree 18 (where the job takes them): the one chunk of
    // 2^18 values (1 MiB) is granted, the helpers' text pieces (1.5 MiB) are
    // refused, and the job's thread writes every line itself.
    set_job_threads(2);
    const std::vector<std::uint32_t> pair18 = first_primitives(18, 2);
    const std::string list18 = poly_text(pair18[0]) + "\n1\n" + poly_text(pair18[1]) + "\n1";
    Lines plain18, capped18;
    run_both_ways([&] { set_text_slot(SLOT_POLY_LIST, list18.c_str()); }, correlate_pair, RUN_CORRELATE,
                  std::size_t{1} << 20, plain18, capped18, refusals);
    EXPECT_EQ(refusals, 1);
    ASSERT_EQ(plain18.size(), (1u << 18) + 2u);
    EXPECT_EQ(capped18, plain18);
    set_job_threads(0);
}

TEST(MemoryFallback, PairSearchWithoutDecimationTablesLogsTheSame) {
    const int n = 9;
    const std::vector<std::uint32_t> list = first_primitives(n, 20);
    const auto setup = [&] {
        for (std::size_t k = 0; k < list.size(); ++k) FoundList[k] = list[k];
        found_list_count = static_cast<std::uint32_t>(list.size());
        set_text_slot(SLOT_FIND_COUNT, "0");
    };
    Lines plain, capped;
    int refusals = 0;
    // The table of 2^9 verdicts (512 bytes) is granted, the logarithm tables
    // of 2^9 - 1 = 7 * 73 (1 KiB) too; a batch's plans for counting first
    // phases (16 KiB each) are refused: the classifier gives up and every
    // pair is stepped.
    run_both_ways(setup, search_preferred_pairs, RUN_PAIR_SEARCH, 4096, plain, capped, refusals);
    EXPECT_GE(refusals, 1);
    ASSERT_GT(plain.size(), 2u);  // some preferred pairs among them
    EXPECT_EQ(capped, plain);

    // A cap below the table: the classifier ends in its fallback at once, with
    // no decimation known, where without the cap every entry has one.
    for (std::size_t limit : {std::size_t{0}, std::size_t{256}}) {
        WorkerPool pool(1);
        PairClassifier c;
        allocation_cap.store(limit);
        const bool prepared = prepare_pair_classifier(pool, c, list.data(), list.size(), n);
        allocation_cap.store(0);
        EXPECT_TRUE(prepared);
        std::size_t known = 0;
        for (std::uint32_t d : c.decimation) known += d != 0;
        EXPECT_EQ(known, limit == 0 ? list.size() : 0u) << limit;
        EXPECT_EQ(c.table.empty(), limit != 0) << limit;
    }
}

}  // namespace
}  // namespace tapwell
