#include "drilling/drill_words.h"

#include <charconv>
#include <limits>

namespace korvex {

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

bool WordScanner::next(std::string_view& word) {
    while (position_ < text_.size() && IsSpace(text_[position_])) ++position_;
    if (position_ == text_.size()) return false;
    const size_t start = position_;
    while (position_ < text_.size() && !IsSpace(text_[position_])) ++position_;
    word = text_.substr(start, position_ - start);
    return true;
}

std::string_view Columns(std::string_view word, size_t from, size_t count) {
    return from < word.size() ? word.substr(from, count) : std::string_view();
}

int32_t LeadingInteger(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    // Accumulate past the int32 range without overflow, then saturate.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        if (value < kLimit) value = value * 10 + (s[i] - '0');
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

double LeadingDecimal(std::string_view s) {
    // from_chars reads '.' whatever the locale but takes no '+' sign.
    if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
    double value = 0;
    if (std::from_chars(s.data(), s.data() + s.size(), value).ec != std::errc()) return 0;
    return value;
}

}  // namespace korvex
