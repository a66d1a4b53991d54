#pragma once
// The lexical rules both drill readers share: words are runs of characters
// between white space, and numbers are read from the front of a piece of a
// word the way the C library's atoi and atof read them (what follows the
// number is ignored, no number reads as 0).

#include <cstdint>
#include <string_view>

namespace korvex {

// Longest word the readers take; a longer one refuses the file.
inline constexpr size_t kMaxDrillWordLength = 259;

// Hands out the words of a text in order.
class WordScanner {
  public:
    explicit WordScanner(std::string_view text) : text_(text) {}
    // The next word, or false at the end of the text.
    bool next(std::string_view& word);

  private:
    std::string_view text_;
    size_t position_ = 0;
};

// Up to `count` characters of `word` from `from`; empty past its end.
std::string_view Columns(std::string_view word, size_t from, size_t count = std::string_view::npos);

// An optionally signed whole number at the front of `s` (after any white
// space), saturated to int32.
int32_t LeadingInteger(std::string_view s);

// An optionally signed decimal number (with '.' as the point) at the front of `s`.
double LeadingDecimal(std::string_view s);

}  // namespace korvex
