// Ring: tests. Feeds arbitrary bytes to the settings reader: it must never
// crash, never write past a slot and always leave zero-terminated texts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapwell::clear_shared_state();
    std::FILE* in = std::tmpfile();
    if (in == nullptr) return 0;
    if (size != 0) std::fwrite(data, 1, size, in);
    std::rewind(in);
    tapwell::read_settings(in);
    std::fclose(in);
    for (int j = 0; j < tapwell::TEXT_SLOT_COUNT; ++j) {
        if (j == tapwell::SLOT_STATUS) continue;
        if (strnlen(tapwell::text_slot(j), tapwell::TEXT_SLOT_SIZE) >= tapwell::TEXT_SLOT_SIZE) std::abort();
    }
    if (tapwell::status_text().size() >= tapwell::TEXT_SLOT_SIZE) std::abort();
    // What was read must survive a write and a second read unchanged.
    std::FILE* out = std::tmpfile();
    if (out == nullptr) return 0;
    tapwell::write_settings(out);
    std::rewind(out);
    static char first[4 * 30000];
    std::size_t n = std::fread(first, 1, sizeof first, out);
    std::rewind(out);
    tapwell::read_settings(out);
    std::fclose(out);
    std::FILE* again = std::tmpfile();
    if (again == nullptr) return 0;
    tapwell::write_settings(again);
    std::rewind(again);
    static char second[4 * 30000];
    std::size_t m = std::fread(second, 1, sizeof second, again);
    std::fclose(again);
    if (n != m || std::memcmp(first, second, n) != 0) std::abort();
    return 0;
}
