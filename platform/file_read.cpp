#include "platform/file_read.h"

#include <sys/stat.h>

#include <cerrno>
#include <new>

namespace korvex {

std::FILE* OpenRegularFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    struct stat info {};
    if (fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode)) return f;
    std::fclose(f);
    errno = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
    return nullptr;
}

std::optional<std::string> ReadRegularFile(const std::string& path) {
    std::FILE* f = OpenRegularFile(path);
    if (!f) return std::nullopt;
    std::string text;
    char chunk[65536];
    size_t n;
    bool failed = false;
    try {
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        failed = std::ferror(f) != 0;
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    std::fclose(f);
    if (failed) return std::nullopt;
    return text;
}

}  // namespace korvex
