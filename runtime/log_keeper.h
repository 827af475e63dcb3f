// Ring: runtime. POSIX only. The log keeper: a child process, started with the
// log, that makes the log's writes for us. Linux lets a process killed in the
// middle of a write stop at any page boundary, so a process that writes its
// own log can leave part of a line however whole the blocks it writes are
// (about one kill in seven during a fast generation). The keeper is not ended
// by a kill of our process: it finishes the writes handed to it, sees its
// socket close and ends. It ignores the signals that end a whole session (Ctrl-C,
// hang-up, termination), and SIGPIPE and SIGXFSZ, whose errors it reports so
// that our process can raise them on itself as a write of its own would.
//
// Requests go over a socket pair and may queue there, each answered in turn
// when its write is done, so that our process can fill its next buffer in
// the meantime; the data lies in memory that both processes share (mapped
// MAP_SHARED before start), at the same address.
#pragma once

#include <cstddef>

namespace tapwell::log_keeper {

// What the keeper runs for each request, in its own process: 0 or an errno.
using WriteFunction = int (*)(const char* data, std::size_t size);

// The answer when the keeper has gone (killed on its own).
constexpr int GONE = -1;

// Starts a keeper that runs `write`. False when no process could be made;
// the caller then writes itself.
bool start(WriteFunction write);
bool running();
// Has the keeper run write(data, size) after the requests before it; false
// when it has gone. The data must stay as it is until its answer has come.
bool request(const char* data, std::size_t size);
// Waits for the answer to the oldest request not yet answered: write's
// result, or GONE.
int answer();
// Whether an answer is there to be taken (or the keeper has gone), without
// waiting.
bool answered();
// Lets the keeper end (after the writes handed to it) and waits for it.
void stop();
// True only in a keeper that is being started (for fork handlers).
bool starting();
// In a process forked from ours: lets go of our keeper without a word to it.
void forget();

}  // namespace tapwell::log_keeper
