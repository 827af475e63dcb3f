// Ring: jobs. SLOT_STATUS, the one text that both threads write: the running
// job (its note and end text) and the front end (Status report, Abort).
// Every access takes the lock, so a painter never sees half a text.
#pragma once

#include <string>
#include <string_view>

namespace tapwell {

void status_set(std::string_view text);     // replaces; cut at 2699 characters
void status_append(std::string_view text);  // appends what still fits
std::string status_text();                  // a copy, for painting and saving
// Replaces the text only while a job runs, decided under the lock: a job that
// claims its end writes its final text after this, so the final text stays.
void status_set_while_running(std::string_view text);

}  // namespace tapwell
