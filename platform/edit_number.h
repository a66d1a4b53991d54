#pragma once
// How every dialog reads a number from an edit's text.

#include <cstdint>
#include <string>

namespace korvex {

// The number at the start of an edit's text: the first 20 characters,
// leading blanks skipped, one '+' allowed, the text after the number
// ignored ("12.5 mm" reads 12.5). Anything unreadable or not finite reads 0.
double ReadEditNumber(const std::string& text);

// The same number cut to a whole number, as atoi reads it, held within
// the range of int32_t.
int32_t ReadEditInteger(const std::string& text);

}  // namespace korvex
