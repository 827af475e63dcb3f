// Ring: jobs. The bilingual message texts (see system_texts.h). Japanese
// entries are code page 932 (Shift-JIS) bytes, as the ANSI window functions
// take them; the comment above each pair shows the characters.
#include "jobs/system_texts.h"

namespace tapwell {

const char* const message_table[MESSAGE_ENTRY_COUNT] = {
    // 0: 実行中は変更出来ません
    "\216\300\215s\222\206\202\315\225\317\215X\217o\227\210\202\334\202\271\202\361",
    "Can't change it while execution",
    // 1: 本当に終了しますか？
    "\226{\223\226\202\311\217I\227\271\202\265\202\334\202\267\202\251\201H",
    "Really exit?",
    // 2: 本当に処理停止しますか？
    "\226{\223\226\202\311\217\210\227\235\222\342\216~\202\265\202\334\202\267\202\251\201H",
    "Really abort?",
    // 3: 実行中です
    "\216\300\215s\222\206\202\305\202\267",
    "Already started",
    // 4: 実行完了
    "\216\300\215s\212\256\227\271",
    "Completed",
    // 5: (empty)
    "",
    "",
    // 6: (empty)
    "",
    "",
    // 7: (empty)
    "",
    "",
    // 8: (empty)
    "",
    "",
    // 9: (empty)
    "",
    "",
    // 10: 入力ファイルが開けません\n
    "\223\374\227\315\203t\203@\203C\203\213\202\252\212J\202\257\202\334\202\271\202\361\n",
    "Can't open the input file.\n",
    // 11: 出力ファイルが作れません\n
    "\217o\227\315\203t\203@\203C\203\213\202\252\215\354\202\352\202\334\202\271\202\361\n",
    "Can't create the output file.\n",
    // 12: フォーマット・エラー\n
    "\203t\203H\201[\203}\203b\203g\201E\203G\203\211\201[\n",
    "Format error\n",
    // 13: パラメータが不正です\n
    "\203p\203\211\203\201\201[\203^\202\252\225s\220\263\202\305\202\267\n",
    "Invalid parameter\n",
    // 14: (empty)
    "",
    "",
    // 15: テンポラリ・ファイルが作れません\n
    "\203e\203\223\203|\203\211\203\212\201E\203t\203@\203C\203\213\202\252\215\354\202\352\202\334\202\271\202\361\n",
    "Can't create the temporary file.\n",
    // 16: (empty)
    "",
    "",
    // 17: (empty)
    "",
    "",
    // 18: (empty)
    "",
    "",
    // 19: (empty)
    "",
    "",
};

const char* message_text(int pair) { return message_table[2 * pair + current_language()]; }

const char* const log_write_error[2] = {
    // 記録ファイルの書き込みエラー: 
    "\213L\230^\203t\203@\203C\203\213\202\314\217\221\202\253\215\236\202\335\203G\203\211\201[: ",
    "Log write error: ",
};

}  // namespace tapwell
