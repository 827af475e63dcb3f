// Ring: tests. Every job writes the same bytes whatever the number of threads
// it may use; the parallel kernels give the one-thread kernels' values, also in
// chunks. Runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/all_phase_correlation.h"
#include "core/decimation.h"
#include "core/primitivity.h"
#include "core/poly_text.h"
#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "runtime/log_stream.h"
#include "library/parallel_transforms.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "jobs/job_control.h"
#include "runtime/worker_pool.h"
#include "tests/reference/helpers.h"
#include "tests/reference/recording_front_end.h"
#include "tests/reference/slow_reader.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using testing::lowest_of_degree;

// The whole log and final status of a job run with each number of threads.
template <typename Prepare>
void expect_same_for_1_2_and_3_threads(JobFunction job, int run_state, Prepare prepare) {
    std::string first_log, first_status;
    for (int threads : {1, 2, 3}) {
        set_job_threads(threads);
        JobFixture f;
        prepare();
        EXPECT_EQ(f.run(job, run_state), JobOutcome::finished) << threads;
        if (threads == 1) {
            first_log = f.log_text();
            first_status = status_text();
        } else {
            EXPECT_EQ(f.log_text(), first_log) << threads << " threads";
            EXPECT_EQ(status_text(), first_status) << threads << " threads";
        }
    }
    set_job_threads(0);
}

TEST(Threads, PrimitiveSearchLogsTheSame) {
    struct Case {
        std::string from;
        const char* count;
    };
    const Case cases[] = {{lowest_of_degree(16), "0"}, {lowest_of_degree(21), "0"}, {lowest_of_degree(24), "3000"},
                          {"1" + std::string(26, '0') + "10011", "100"}, {"10011", "1"}};
    for (const Case& c : cases) {
        expect_same_for_1_2_and_3_threads(search_primitive, RUN_PRIMITIVE_SEARCH, [&] {
            set_text_slot(SLOT_SEARCH_FROM, c.from.c_str());
            set_text_slot(SLOT_FIND_COUNT, c.count);
        });
    }
}

TEST(Threads, CorrelationLogsTheSame) {
    for (const char* list : {"10000011\n1\n10001001\n1", "100000000000000000101\n1\n100000000000001010001\n1",
                             "100000000000000000101\n1\n100000000000000000101\n1"}) {
        expect_same_for_1_2_and_3_threads(correlate_pair, RUN_CORRELATE,
                                          [&] { set_text_slot(SLOT_POLY_LIST, list); });
    }
}

// A log read more slowly than the job writes it: the writes queue up at the
// log's writer, the job's thread steps aside while they do, and the bytes are
// still those of one thread writing to a file.
TEST(Threads, CorrelationToASlowReaderLogsTheSame) {
    const char* list = "100000000000000000101\n1\n100000000000001010001\n1";  // degree 20: 22 MB of lines
    set_job_threads(1);
    std::string expected;
    {
        JobFixture f;
        set_text_slot(SLOT_POLY_LIST, list);
        ASSERT_EQ(f.run(correlate_pair, RUN_CORRELATE), JobOutcome::finished);
        expected = f.log_text();
    }
    std::string received;
    {
        set_job_threads(2);
        JobFixture f;
        testing::SlowReader reader;
        ASSERT_TRUE(reader.made());
        log_close();
        ASSERT_TRUE(log_open(reader.path().c_str()));
        reader.start(200);
        set_text_slot(SLOT_POLY_LIST, list);
        EXPECT_EQ(f.run(correlate_pair, RUN_CORRELATE), JobOutcome::finished);
        log_close();
        received = reader.finish();
    }
    set_job_threads(0);
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

TEST(Threads, PairSearchLogsTheSame) {
    for (int n : {7, 11}) {
        set_job_threads(1);
        JobFixture search;
        set_text_slot(SLOT_SEARCH_FROM, lowest_of_degree(n).c_str());
        set_text_slot(SLOT_FIND_COUNT, "0");
        search.run(search_primitive, RUN_PRIMITIVE_SEARCH);
        const std::vector<std::uint32_t> list(FoundList.begin(), FoundList.begin() + found_list_count);
        expect_same_for_1_2_and_3_threads(search_preferred_pairs, RUN_PAIR_SEARCH, [&] {
            std::copy(list.begin(), list.end(), FoundList.begin());
            found_list_count = static_cast<std::uint32_t>(list.size());
            set_text_slot(SLOT_FIND_COUNT, "0");
        });
    }
}

// Above degree 24: some degree-25 primitive polynomials and the Kasami
// partner of the first, so that cosets are decided by theorem and by their
// first phases, counted in segments on every thread. (The second primitive
// one is left out: it is the first's Gold partner, and a Gold and a Kasami
// partner of one polynomial make a pair that only all its phases decide.)
TEST(Threads, PairSearchAboveDegree24LogsTheSame) {
    const int n = 25;
    std::vector<std::uint32_t> list(256);
    list.resize(find_primitives(1u << (n - 1), (1u << (n - 1)) + 255u, n, list.data()));
    list.erase(list.begin() + 1);
    list.resize(4);
    BerlekampMassey bm;
    list.push_back(static_cast<std::uint32_t>(decimation_polynomial({list[0], n}, 13, bm).value));
    expect_same_for_1_2_and_3_threads(search_preferred_pairs, RUN_PAIR_SEARCH, [&] {
        std::copy(list.begin(), list.end(), FoundList.begin());
        found_list_count = static_cast<std::uint32_t>(list.size());
        set_text_slot(SLOT_FIND_COUNT, "0");
    });
    EXPECT_GE(found_count.load(), 1u);
}

TEST(Threads, GenerationLogsTheSame) {
    for (int mode : {0, 1, 2}) {
        expect_same_for_1_2_and_3_threads(generate_sequences, RUN_GENERATE, [&] {
            set_setting(SET_GEN_MODE, mode);
            set_text_slot(SLOT_WIDTH, mode == 1 ? "2" : "3");
            set_text_slot(SLOT_OUTPUT_COUNT, "5000");
            set_text_slot(SLOT_POLY_LIST, "10000011\n1\n10001001\n1");
        });
    }
}

// A spectrum in chunks (as above degree 28) on three threads against the one
// chunk of the one-thread kernel.
TEST(Threads, ChunkedSpectrumOnThreeThreadsIsTheWholeSpectrum) {
    const int n = 18;
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t ta = taps_of(parse_polynomial(lowest_of_degree(n)) | 0b1001u, top);
    const std::uint32_t tb = taps_of(top | 0x2Fu, top);
    const CorrelationPlan whole = plan_correlation(n, ta, tb);
    std::vector<std::int32_t> expected(std::size_t{1} << n);
    ASSERT_TRUE(correlate_chunk(whole, 0, expected.data()));
    WorkerPool pool(3);
    const CorrelationPlan chunks = with_smaller_chunks(with_smaller_chunks(whole));
    const std::size_t size = std::size_t{1} << chunks.chunk_bits;
    std::vector<std::int32_t> values(size);
    for (std::uint32_t chunk = 0; chunk < chunks.chunk_count; ++chunk) {
        ASSERT_TRUE(correlate_chunk(pool, chunks, chunk, values.data()));
        EXPECT_TRUE(std::equal(values.begin(), values.end(), expected.begin() + static_cast<long>(chunk * size)))
            << "chunk " << chunk;
    }
}

TEST(Threads, PoolRunsEveryTaskOnceAndJoinsItsThreads) {
    for (int threads : {1, 2, 5}) {
        WorkerPool pool(threads);
        EXPECT_EQ(pool.size(), threads);
        for (std::size_t count : {0u, 1u, 7u, 1000u}) {
            std::vector<std::atomic<int>> runs(count);
            pool.for_each(count, [&](std::size_t i) { runs[i].fetch_add(1); });
            for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << threads << " " << count << " " << i;
        }
    }
}

}  // namespace
}  // namespace tapwell
