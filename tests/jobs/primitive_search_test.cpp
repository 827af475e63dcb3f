// Ring: tests. The primitive search job through the recording front end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/job_frame.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using Lines = std::vector<std::string>;

struct Search : JobFixture {
    int search(const char* from, const char* count) {
        set_text_slot(SLOT_SEARCH_FROM, from);
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
        EXPECT_EQ(s.search(c.from, c.count), 0);
        EXPECT_EQ(s.log_lines(), c.log) << c.from << " / " << c.count;
        EXPECT_EQ(status_text(), c.log.back() + "\n");
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        ASSERT_EQ(s.front.ended.size(), 1u);
    }
}

TEST(PrimitiveSearch, ResultAndFoundList) {
    Search s;
    s.search("10011", "0");
    EXPECT_STREQ(text_slot(SLOT_RESULT), "10011\r\n11001\r\n");
    ASSERT_EQ(found_list_count, 2u);
    EXPECT_EQ(FoundList[0], 0b1001u);
    EXPECT_EQ(FoundList[1], 0b1100u);
    EXPECT_EQ(s.front.shown.back(), "10011\r\n11001\r\n");
    // The end routine restored the search group's idle enabling.
    EXPECT_TRUE(s.front.enabled.at(14));
    EXPECT_FALSE(s.front.enabled.at(15));
    EXPECT_FALSE(s.front.enabled.at(17));
}

TEST(PrimitiveSearch, FullDegreeCounts) {
    const std::uint32_t expected[] = {2, 2, 6, 6, 18, 16, 48, 60, 176, 144};
    for (int n = 3; n <= 12; ++n) {
        Search s;
        std::string from = "1" + std::string(n - 1, '0') + "1";
        s.search(from.c_str(), "0");
        EXPECT_EQ(found_count.load(), expected[n - 3]) << "degree " << n;
        EXPECT_EQ(s.log_lines().size(), expected[n - 3] + 2);
    }
}

TEST(PrimitiveSearch, DisplayCapAtSeventy) {
    Search s;
    std::vector<std::string> statuses;
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
    void set_control_enabled(int, bool) override {}
    void end_job(EndRoutine r) override { run_end_routine(r, *this); }
    std::vector<std::string> seen;
};

TEST(PrimitiveSearch, NoteAppearsAtTheSeventyFirstFindOnly) {
    for (const char* count : {"70", "71"}) {
        JobFixture f;
        set_text_slot(SLOT_SEARCH_FROM, "100000000001");
        set_text_slot(SLOT_FIND_COUNT, count);
        testing::mark_started(RUN_PRIMITIVE_SEARCH);
        StatusSpy spy;
        search_primitive(spy);
        ASSERT_GE(spy.seen.size(), 2u);
        bool noted = spy.seen[spy.seen.size() - 2] == "found more...";
        EXPECT_EQ(noted, std::string(count) == "71") << count;
        EXPECT_EQ(spy.seen.back(), std::string("Finished. found=") + count + "\n");
    }
}

TEST(PrimitiveSearch, RejectedStartsLogNothingAndKeepTheFoundList) {
    for (const char* from : {"0111", "00111", "1010", "101", "", "10 11", "\x80\x81\x82\x83"}) {
        Search s;
        s.search("10011", "0");
        std::string before = s.log_text();
        set_setting(SET_LANGUAGE, 1);
        s.search(from, "0");
        EXPECT_EQ(s.log_text(), before) << from;
        EXPECT_EQ(status_text(), "Invalid parameter\n");
        EXPECT_STREQ(text_slot(SLOT_RESULT), "");
        EXPECT_EQ(found_list_count, 2u);
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    }
}

TEST(PrimitiveSearch, JapaneseRejectionText) {
    Search s;
    set_setting(SET_LANGUAGE, 0);
    s.search("101", "0");
    // "パラメータが不正です\n" in code page 932.
    EXPECT_EQ(status_text(), "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\n");
}

TEST(PrimitiveSearch, VeryLongStartTextIsRejected) {
    Search s;
    std::string long_text(2699, '1');
    s.search(long_text.c_str(), "99999999999999999999");
    EXPECT_EQ(s.log_text(), "");
    EXPECT_EQ(status_text(), "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\n");
}

TEST(PrimitiveSearch, DegreeThirtyTwoStartOffsetsDoNotOverflow) {
    // From the highest degree-32 candidate only x^32 + ... + x + 1 is tested.
    Search s;
    s.search(std::string(33, '1').c_str(), "0");
    Lines log = s.log_lines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "n=32, from=" + std::string(33, '1'));
    EXPECT_EQ(log[1], "Finished. found=0");
    EXPECT_EQ(current_candidate.load(), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tapwell
