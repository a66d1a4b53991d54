#pragma once
// Operator-visible texts. Every text has a Czech and an English form; the
// settings' `language` (0 Czech, 1 English) picks one at the moment the text
// is produced. Any other language value shows no bilingual text at all.

#include <optional>
#include <string>

namespace korvex {

struct Text {
    const char* cz;
    const char* en;
};

// The form for `language`; nullopt when it is neither 0 nor 1.
std::optional<std::string> Pick(int language, Text text);

// Like Pick, but an unknown language gives the English form: for captions,
// which must show something.
std::string Caption(int language, Text text);

// printf-style formatting into a std::string, always with '.' as the
// decimal point whatever the process locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text in `language` (English for an unknown one), formatted: for
// dialog captions that carry numbers.
template <typename... Args>
std::string FormatCaption(int language, Text text, Args... args) {
    static_assert(sizeof...(Args) > 0, "use Caption for plain texts");
    return Format(Caption(language, text).c_str(), args...);
}

}  // namespace korvex
