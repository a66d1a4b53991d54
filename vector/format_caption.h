#pragma once
// Dialog texts that carry printf-style arguments.

#include <string>

#include "ui/text.h"

namespace korvex {

// The text in `language` (English for an unknown one), formatted.
template <typename... Args>
std::string FormatCaption(int language, Text text, Args... args) {
    static_assert(sizeof...(Args) > 0, "use Caption for plain texts");
    return Format(Caption(language, text).c_str(), args...);
}

}  // namespace korvex
