// Ring: cli. All bytes of a file, or of standard input for "-", as they are.
#pragma once

#include <cstddef>
#include <string>

namespace tapwell::cli {

// Reads at most `limit` bytes and one more (so a caller can tell the file was
// longer). False, with the reason in `error`, when it cannot be opened or read.
bool read_file_bytes(const std::string& path, std::size_t limit, std::string& out, std::string& error);

}  // namespace tapwell::cli
