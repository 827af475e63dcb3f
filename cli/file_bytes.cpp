// Ring: cli. See file_bytes.h.
#include "cli/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tapwell::cli {

namespace {

bool read_all(std::FILE* stream, std::size_t limit, std::string& out) {
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stream)) > 0) {
        out.append(chunk, n);
        if (out.size() > limit) break;
    }
    return !std::ferror(stream);
}

}  // namespace

bool read_file_bytes(const std::string& path, std::size_t limit, std::string& out, std::string& error) {
    out.clear();
    if (path == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        if (!read_all(stdin, limit, out)) {
            error = "cannot read standard input";
            return false;
        }
        return true;
    }
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    const bool ok = read_all(f, limit, out);
    std::fclose(f);
    if (!ok) error = "cannot read '" + path + "'";
    return ok;
}

}  // namespace tapwell::cli
