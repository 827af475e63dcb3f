// Ring: tests. The primitive search job: the worked examples, the log of a
// candidate-by-candidate order walk, what number theory says of its finds, the
// display cap, rejected starts, and a search resumed from its abort text.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "core/primitivity.h"
#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/helpers.h"
#include "tests/reference/order_walk.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using testing::poly_text;
using Lines = std::vector<std::string>;

// "パラメータが不正です\n" in code page 932.
const char* const INVALID_PARAMETER_JA =
    "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\n";

struct Search : JobFixture {
    // The job on what these texts read as.
    JobOutcome search(const std::string& from, const char* count) {
        return run(testing::bound(run_primitive_search, read_search_input(from.c_str(), count)), RUN_PRIMITIVE_SEARCH);
    }
    // Start pressed with these texts in the window's entries.
    JobOutcome start(const std::string& from, const char* count) {
        set_text_slot(SLOT_SEARCH_FROM, from.c_str());
        set_text_slot(SLOT_FIND_COUNT, count);
        return run(search_primitive, RUN_PRIMITIVE_SEARCH);
    }
};

TEST(PrimitiveSearch, WorkedExamples) {
    struct Case {
        const char* from;
        const char* count;
        Lines log;
    };
    const Case cases[] = {
        {"10011", "0", {"n=4, from=10011", "10011", "11001", "Finished. found=2"}},
        {"10001", "0", {"n=4, from=10011", "10011", "11001", "Finished. found=2"}},
        {"11001", "", {"n=4, from=11001", "11001", "Finished. found=1"}},
        {"11111", "0", {"n=4, from=11111", "Finished. found=0"}},
        {"1011", "0", {"n=3, from=1011", "1011", "1101", "Finished. found=2"}},
        {"100101", "0",
         {"n=5, from=100101", "100101", "101001", "101111", "110111", "111011", "111101",
          "Finished. found=6"}},
        {"10011", "1", {"n=4, from=10011", "10011", "Finished. found=1"}},
        {"10011", "-1", {"n=4, from=10011", "10011", "11001", "Finished. found=2"}},
        {"10011", " 2abc", {"n=4, from=10011", "10011", "11001", "Finished. found=2"}},
    };
    for (const auto& c : cases) {
        Search s;
        EXPECT_EQ(s.start(c.from, c.count), JobOutcome::finished);
        EXPECT_EQ(s.log_lines(), c.log) << c.from << " / " << c.count;
        EXPECT_EQ(status_text(), c.log.back() + "\n");
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        EXPECT_EQ(job_state(), JOB_NONE);
    }
}

TEST(PrimitiveSearch, ResultAndFoundList) {
    Search s;
    s.start("10011", "0");
    EXPECT_STREQ(text_slot(SLOT_RESULT), "10011\r\n11001\r\n");
    ASSERT_EQ(found_list_count, 2u);
    EXPECT_EQ(FoundList[0], 0b1001u);
    EXPECT_EQ(FoundList[1], 0b1100u);
    EXPECT_EQ(s.front.shown.back(), "10011\r\n11001\r\n");
}

// The job's log as the walk would write it: start at `from`, stop after `count` finds (0: all).
Lines walk_log(std::uint32_t from, std::uint32_t count, int n, bool (*primitive)(std::uint32_t, int) = reference::is_primitive) {
    const std::uint32_t e = 1u << (n - 1);
    std::uint32_t s = from ^ e;
    if (s == 0) s = 1;
    if (count == 0) count = e - 1;
    Lines log{"n=" + std::to_string(n) + ", from=" + poly_text(e + s)};
    std::uint32_t found = 0;
    for (;; ++s) {
        if (primitive(e + s, n)) {
            log.push_back(poly_text(e + s));
            if (++found >= count) break;
        }
        if (s == e - 1) break;
    }
    log.push_back("Finished. found=" + std::to_string(found));
    return log;
}

TEST(PrimitiveSearch, LogsWhatTheOrderWalkLogs) {
    struct Case {
        int n;
        std::uint32_t offset;  // start offset within the degree
        std::uint32_t count;
    };
    const Case cases[] = {
        {3, 0, 0}, {5, 3, 0}, {8, 0, 0}, {8, 0x21, 5}, {11, 0, 0}, {12, 0x123, 7}, {13, 0, 0}, {14, 0x1FFF, 0}, {14, 0, 300},
    };
    for (const Case& c : cases) {
        const std::uint32_t e = 1u << (c.n - 1);
        Search s;
        s.search(poly_text(e + c.offset), std::to_string(c.count).c_str());
        const Lines expected = walk_log(e + c.offset, c.count, c.n);
        EXPECT_EQ(s.log_lines(), expected) << c.n << " " << c.offset << " " << c.count;
        EXPECT_EQ(found_count.load(), expected.size() - 2);
    }
}

// Past the display a block's finds go to the log at once, unless the count
// ends the search inside the block: a count that ends it one find before a
// block's end, at its end and one find into the next block logs exactly that
// many finds, and names the candidate after the last one for a search to
// come. The fast test is the reference here (checked against the walk in
// core's tests): the order walk would take minutes at degree 19.
TEST(PrimitiveSearch, CountsEndingAtABlocksEdge) {
    constexpr int N = 19;
    const std::uint32_t e = 1u << (N - 1);
    const auto fast = [](std::uint32_t g, int n) { return is_primitive_fast(g, n); };
    std::uint32_t first_two_blocks = 0;  // finds in the candidates below the third block
    for (std::uint32_t g = e + 1; g < e + 2 * PRIMITIVE_BLOCK; ++g) first_two_blocks += fast(g, N);
    ASSERT_GT(first_two_blocks, 2 * 70u);
    for (std::uint32_t count : {first_two_blocks - 1, first_two_blocks, first_two_blocks + 1}) {
        Search s;
        s.search(poly_text(e + 1), std::to_string(count).c_str());
        const Lines expected = walk_log(e + 1, count, N, fast);
        EXPECT_EQ(s.log_lines(), expected) << count;
        EXPECT_EQ(found_list_count, count);
        const std::uint32_t last = FoundList[count - 1];
        EXPECT_EQ(poly_text(last), expected[count]);
        EXPECT_EQ(current_candidate.load(), last + 1) << count;
    }
}

// The output of a register from state 1 over one period, packed 64 positions
// to a word and written twice over, so that any 64 positions from one below
// the period are two words apart at most.
struct Sequence {
    std::uint32_t period = 0;
    std::vector<std::uint64_t> words;

    std::uint64_t window(std::uint64_t from) const {  // positions from .. from + 63
        const std::uint64_t low = words[from >> 6] >> (from & 63);
        return (from & 63) == 0 ? low : low | words[(from >> 6) + 1] << (64 - (from & 63));
    }
};

Sequence sequence_of(std::uint32_t g, int n) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t taps = taps_of(g, top);
    std::vector<bool> bits;
    std::uint32_t state = 1;
    do {
        bits.push_back(state & 1u);
        state = register_step(state, taps, top);
    } while (state != 1 && bits.size() <= 2 * top);
    Sequence s;
    s.period = static_cast<std::uint32_t>(bits.size());
    s.words.assign(2 * bits.size() / 64 + 3, 0);
    for (std::size_t k = 0; k < 2 * bits.size(); ++k) {
        if (bits[k % bits.size()]) s.words[k >> 6] |= std::uint64_t{1} << (k & 63);
    }
    return s;
}

// The period of a register from state 1 and the ones in one period.
std::pair<std::uint32_t, std::uint32_t> period_and_ones(std::uint32_t g, int n) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t taps = taps_of(g, top);
    std::uint32_t state = 1, period = 0, ones = 0;
    do {
        ones += state & 1u;
        ++period;
        state = register_step(state, taps, top);
    } while (state != 1 && period <= 2 * top);
    return {period, ones};
}

// The periodic autocorrelation at `shift`: agreements minus disagreements of
// the sequence and itself shifted, 64 positions at a time.
std::int64_t autocorrelation(const Sequence& s, std::uint32_t shift) {
    std::int64_t differ = 0;
    for (std::uint32_t t = 0; t < s.period; t += 64) {
        const std::uint32_t n = s.period - t < 64 ? s.period - t : 64;
        const std::uint64_t mask = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
        differ += std::popcount((s.window(t) ^ s.window(t + shift)) & mask);
    }
    return static_cast<std::int64_t>(s.period) - 2 * differ;
}

// Every find of a whole degree is an M-sequence's polynomial: as many finds as
// there are primitive polynomials (phi(2^n - 1) / n), each register's period
// is 2^n - 1 with 2^(n-1) ones, and its autocorrelation off the peak is -1
// (checked for every find up to degree 12, for the first and last above).
TEST(PrimitiveSearch, EveryFindOfADegreeGivesAnMSequence) {
    for (int n = 3; n <= 16; ++n) {
        Search s;
        s.search(testing::lowest_of_degree(n), "0");
        const std::uint32_t period = (1u << n) - 1u;
        ASSERT_EQ(found_list_count, testing::totient(period) / static_cast<std::uint32_t>(n)) << "degree " << n;
        for (std::uint32_t k = 0; k < found_list_count; ++k) {
            const auto [length, ones] = period_and_ones(FoundList[k], n);
            ASSERT_EQ(length, period) << poly_text(FoundList[k]);
            ASSERT_EQ(ones, 1u << (n - 1)) << poly_text(FoundList[k]);
            if (n > 12 && k != 0 && k + 1 != found_list_count) continue;
            const Sequence seq = sequence_of(FoundList[k], n);
            for (std::uint32_t shift = 1; shift < period; ++shift) {
                ASSERT_EQ(autocorrelation(seq, shift), -1) << poly_text(FoundList[k]) << " shift " << shift;
            }
        }
    }
}

TEST(PrimitiveSearch, DisplayCapAtSeventy) {
    Search s;
    s.search("100000000001", "0");  // degree 11: 176 finds
    Lines log = s.log_lines();
    ASSERT_EQ(log.size(), 178u);
    EXPECT_EQ(log.back(), "Finished. found=176");
    // The result shows the first 70 finds, once each.
    EXPECT_EQ(s.front.shown.size(), 70u);
    std::string expected;
    for (int i = 1; i <= 70; ++i) expected += log[i] + "\r\n";
    EXPECT_EQ(text_slot(SLOT_RESULT), expected);
    EXPECT_EQ(status_text(), "Finished. found=176\n");
}

// Watches the status text at every repaint request.
class StatusSpy final : public FrontEnd {
public:
    void show_result(const char*) override {}
    void request_repaint() override { seen.push_back(status_text()); }
    std::vector<std::string> seen;
};

TEST(PrimitiveSearch, NoteAppearsAtTheSeventyFirstFindOnly) {
    for (const char* count : {"70", "71"}) {
        JobFixture f;
        StatusSpy spy;
        run_job_here(testing::bound(run_primitive_search, read_search_input("100000000001", count)),
                     RUN_PRIMITIVE_SEARCH, spy);
        ASSERT_GE(spy.seen.size(), 2u);
        bool noted = spy.seen[spy.seen.size() - 2] == "found more...";
        EXPECT_EQ(noted, std::string(count) == "71") << count;
        EXPECT_EQ(spy.seen.back(), std::string("Finished. found=") + count + "\n");
    }
}

// Degree 21 has 84672 primitive polynomials: the list keeps the first 65000,
// the log all of them.
TEST(PrimitiveSearch, FoundListKeepsTheFirst65000) {
    Search s;
    s.start(testing::lowest_of_degree(21), "0");
    EXPECT_EQ(found_count.load(), 84672u);
    EXPECT_EQ(found_list_count, FOUND_LIST_CAPACITY);
    const Lines log = s.log_lines();
    ASSERT_EQ(log.size(), 84672u + 2);
    EXPECT_EQ(log.back(), "Finished. found=84672");
    EXPECT_EQ(poly_text(FoundList[0]), log[1]);
    EXPECT_EQ(poly_text(FoundList[FOUND_LIST_CAPACITY - 1]), log[FOUND_LIST_CAPACITY]);
    for (std::uint32_t k = 1; k < FOUND_LIST_CAPACITY; ++k) ASSERT_LT(FoundList[k - 1], FoundList[k]);
}

TEST(PrimitiveSearch, RejectedStartsLogNothingAndKeepTheFoundList) {
    const std::string too_long(2699, '1');
    for (const std::string from : {"0111", "00111", "1010", "101", "", "10 11", "\x80\x81\x82\x83", too_long.c_str()}) {
        for (int language : {0, 1}) {
            Search s;
            s.start("10011", "0");
            std::string before = s.log_text();
            set_setting(SET_LANGUAGE, language);
            EXPECT_EQ(s.start(from, "99999999999999999999"), JobOutcome::rejected);
            EXPECT_EQ(s.log_text(), before) << from;
            EXPECT_EQ(status_text(), language == 1 ? "Invalid parameter\n" : INVALID_PARAMETER_JA);
            EXPECT_STREQ(text_slot(SLOT_RESULT), "");
            EXPECT_EQ(found_list_count, 2u);
            EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        }
    }
}

TEST(PrimitiveSearch, DegreeThirtyTwoStartOffsetsDoNotOverflow) {
    // From the highest degree-32 candidate only x^32 + ... + x + 1 is tested.
    Search s;
    s.search(std::string(33, '1'), "0");
    Lines log = s.log_lines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "n=32, from=" + std::string(33, '1'));
    EXPECT_EQ(log[1], "Finished. found=0");
    EXPECT_EQ(current_candidate.load(), 0xFFFFFFFFu);
}

// Claims the abort (as the Abort button would) when the job shows its
// `at`-th result line, or at its first repaint when `at` is 0.
class AbortAt final : public FrontEnd {
public:
    explicit AbortAt(std::size_t at) : at_(at) {}
    void show_result(const char*) override {
        if (++shown_ == at_) claim_job_abort();
    }
    void request_repaint() override {
        if (at_ == 0) claim_job_abort();
    }

private:
    std::size_t at_;
    std::size_t shown_ = 0;
};

// The abort text names the next candidate not yet decided: a search started
// again from it (with the constant term's 1 added) goes on where the first
// stopped, neither repeating nor skipping a find.
TEST(PrimitiveSearch, ASearchResumedFromItsAbortTextMissesAndRepeatsNothing) {
    const std::string from = testing::lowest_of_degree(11);
    Search whole;
    whole.search(from, "0");
    const Lines all = whole.log_lines();
    for (std::size_t at : {0u, 1u, 2u, 37u, 69u}) {
        Search s;
        set_text_slot(SLOT_SEARCH_FROM, from.c_str());
        set_text_slot(SLOT_FIND_COUNT, "0");
        AbortAt front(at);
        begin_started_job(RUN_PRIMITIVE_SEARCH);
        ASSERT_EQ(search_primitive(front), JobOutcome::stopped);
        complete_abort();
        const std::string abort_text = status_text();
        ASSERT_EQ(abort_text.rfind("aborted at ", 0), 0u) << abort_text;
        const std::string resume = abort_text.substr(11, abort_text.find(',') - 11) + "1";
        Lines finds = s.log_lines();
        finds.pop_back();  // the abort text
        s.start(resume, "0");
        const Lines second = s.log_lines();
        finds.insert(finds.end(), second.begin() + static_cast<long>(finds.size()) + 2, second.end() - 1);
        ASSERT_EQ(finds.size(), all.size() - 1) << "aborted after " << at << " finds, resumed from " << resume;
        EXPECT_TRUE(std::equal(finds.begin() + 1, finds.end(), all.begin() + 1)) << "resumed from " << resume;
    }
}

}  // namespace
}  // namespace tapwell
