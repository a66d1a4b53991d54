#include "platform/edit_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvex {

namespace {
constexpr size_t kEditCharacters = 20;
}

double ReadEditNumber(const std::string& text) {
    const char* p = text.data();
    const char* end = p + std::min(text.size(), kEditCharacters);
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    // from_chars takes a minus but no plus sign.
    if (p < end && *p == '+') {
        ++p;
        if (p < end && *p == '-') return 0;
    }
    double value = 0;
    if (std::from_chars(p, end, value).ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

int32_t ReadEditInteger(const std::string& text) {
    return static_cast<int32_t>(std::clamp(ReadEditNumber(text), -2147483648.0, 2147483647.0));
}

}  // namespace korvex
