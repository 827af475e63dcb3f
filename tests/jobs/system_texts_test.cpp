// Ring: tests. The system's own texts, byte for byte. People's scripts read
// the logs these texts make, misspellings included: a change here is a change
// to what they match, never a correction.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "jobs/shared_state.h"
#include "jobs/system_texts.h"

namespace tapwell {
namespace {

TEST(SystemTexts, LogAndStatusTextsAreTheSystemsOwnBytes) {
    const std::pair<std::string_view, std::string_view> pinned[] = {
        {texts::SEARCH_DEGREE, "n="},
        {texts::SEARCH_FROM, ", from="},
        {texts::SEARCH_FINISHED, "Finished. found="},
        {texts::SERIAL_REGISTER, "polynominal="},
        {texts::PARALLEL_REGISTER, "polynominal bit"},
        {texts::PARALLEL_REGISTER_END, "="},
        {texts::REGISTER_A, "polynominal_A="},
        {texts::REGISTER_B, "polynominal_B="},
        {texts::INITIAL, ", initial="},
        {texts::VALUE_SEPARATOR, ", "},
        {texts::GENERATION_COMPLETED, "Completed.\n"},
        {texts::PHASE, "dt="},
        {texts::PHASE_VALUE, ", r= "},
        {texts::CORRELATION_COMPLETED, "Completed. sum|r+1| = "},
        {texts::PAIRS_HEADER, "Seaching for Preferred pair Tapwell. n="},
        {texts::PAIRS_LIST_SIZE, ", No. of polynominal="},
        {texts::PAIR_SEPARATOR, ", "},
        {texts::PAIRS_COMPLETED, "Completed. found = "},
        {texts::NOTE_FOUND, "found more..."},
        {texts::NOTE_GENERATED, "genarated more..."},
        {texts::NOTE_CORRELATION, "calcurating more..."},
        {texts::STATUS_SEARCH, "found=%u, checking %s\n"},
        {texts::STATUS_PAIRS, "found=%u, checked %2.2f%%\n"},
        {texts::ABORTED_SEARCH, "aborted at %s, found=%u\n"},
        {texts::ABORTED_PAIRS, "aborted. found = %d\n"},
        {texts::ABORTED, "aborted.\n"},
    };
    for (const auto& [text, bytes] : pinned) EXPECT_EQ(text, bytes);
}

TEST(SystemTexts, MessagePairsFollowTheLanguage) {
    clear_shared_state();
    EXPECT_STREQ(message_table[27], "Invalid parameter\n");
    EXPECT_STREQ(message_table[23], "Can't create the output file.\n");
    EXPECT_STREQ(message_table[3], "Really exit?");
    EXPECT_STREQ(message_table[5], "Really abort?");
    for (int k = 5; k <= 9; ++k) EXPECT_STREQ(message_table[2 * k], "");
    set_setting(SET_LANGUAGE, 1);
    EXPECT_STREQ(message_text(MSG_INVALID_PARAMETER), "Invalid parameter\n");
    set_setting(SET_LANGUAGE, 0);
    EXPECT_STREQ(log_write_error[1], "Log write error: ");
    // 記録ファイルの書き込みエラー: in code page 932.
    EXPECT_STREQ(log_write_error[0], "\x8bL\x98^\x83t\x83@\x83" "C\x83\x8b\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x83G\x83\x89\x81[: ");
    // 本当に終了しますか？ in code page 932.
    EXPECT_STREQ(message_text(MSG_REALLY_EXIT),
                 "\x96{\x93\x96\x82\xc9\x8fI\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81H");
}

}  // namespace
}  // namespace tapwell
