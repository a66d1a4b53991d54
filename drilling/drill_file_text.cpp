#include "drilling/drill_file_text.h"

#include <cstdio>
#include <new>

namespace korvex {

std::optional<std::string> ReadDrillFileText(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string text;
    char chunk[65536];
    size_t n;
    bool failed = false;
    try {
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        failed = std::ferror(f);
    } catch (const std::bad_alloc&) {
        failed = true;  // a file larger than memory: it cannot be read
    }
    std::fclose(f);
    if (failed) return std::nullopt;  // e.g. a directory
    return text;
}

const Text kDrillWordTooLong{"Soubor obsahuje slovo delší než 259 znaků, nebyl načten",
                             "The file holds a word longer than 259 characters; it was not loaded"};
const Text kDrillTooManyDrills{"Soubor definuje více než 256 vrtáků, nebyl načten",
                               "The file defines more than 256 drills; it was not loaded"};

}  // namespace korvex
