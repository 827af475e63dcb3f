// Ring: cli. The system's texts are code page 932 bytes where they are
// Japanese; the console gets them in its own encoding.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tapwell::cli {

// Code page 932 bytes as UTF-8; bytes that do not convert are kept as they are.
std::string cp932_to_utf8(std::string_view text);

// Writes a system text to a console stream (standard error) so that Japanese
// reads as Japanese there.
void write_console_text(std::FILE* stream, std::string_view text);

bool is_terminal(std::FILE* stream);

}  // namespace tapwell::cli
