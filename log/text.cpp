#include "log/text.h"

#include <locale.h>
#include <cstdarg>
#include <cstdio>

namespace korvex {

std::optional<std::string> Pick(int language, Text text) {
    if (language == 0) return std::string(text.cz);
    if (language == 1) return std::string(text.en);
    return std::nullopt;
}

std::string Caption(int language, Text text) {
    return language == 0 ? text.cz : text.en;
}

static std::string VFormat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Format(const char* format, ...) {
    // A thread-local "C" locale: other threads keep their own.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    locale_t previous = uselocale(c);
    va_list args;
    va_start(args, format);
    std::string out = VFormat(format, args);
    va_end(args);
    uselocale(previous);
    return out;
}

}  // namespace korvex
