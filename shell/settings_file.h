// Ring: shell. Tapwell.ini: the 20 Settings values and the ten text slots kept
// between runs. Platform-free: the window program forms the path and calls these
// at creation and destruction; the tests call them on files of their own.
//
// Layout: "20", twenty signed decimal lines, "10", ten text lines in slot order,
// each line feed inside a text written as BEL (7). Text bytes are kept as they
// are (Japanese as code page 932).
#pragma once

#include <cstddef>
#include <cstdio>

namespace tapwell {

constexpr std::size_t SETTINGS_PATH_SIZE = 1000;  // 999 characters and a zero

// The settings file that belongs to the full path of "Tapwell.exe" in the
// current directory: its "exe" replaced by "ini". Empty (returns false) when
// there is no such path or the result does not fit in SETTINGS_PATH_SIZE.
bool settings_path_from_program_path(const char* program_path, char* out, std::size_t out_size);

// Fills Settings and the text slots from the stream, as far as it goes. Each
// physical line is one entry, however long: a text that fills its slot (2699
// characters) comes back whole, and a longer line is cut to what fits instead
// of spilling into the next entries. Only a line feed is dropped from a text,
// never a real last character of a file that lacks its final line end.
void read_settings(std::FILE* in);
// Opens path for reading; a missing file leaves everything as it is.
bool read_settings_file(const char* path);

// Writes Settings (the run state always as 0) and the text slots. Returns
// false when a write fails.
bool write_settings(std::FILE* out);

// Puts a finished temporary file in the place of the settings file in one
// step; false when it could not. The Win32 half gets the bytes onto the disk
// first and uses MoveFileEx; rename_over (std::rename, which replaces on
// POSIX systems) serves the native tests.
using ReplaceFile = bool (*)(const char* temporary, const char* path);
bool rename_over(const char* temporary, const char* path);

// Writes the settings to a temporary file beside path (its name and ".tmp"),
// then has `replace` put it in path's place, so that a full disk, a crash or
// a kill during the save leaves the earlier file whole. Returns false, with
// the earlier file as it was and no temporary file left, when the file may
// not be written (read-only, no directory) or any step fails.
bool write_settings_file(const char* path, ReplaceFile replace = rename_over);

}  // namespace tapwell
