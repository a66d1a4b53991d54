#pragma once
// A bilingual report with numbers: both forms are filled in with the same
// arguments and the log picks the one of the language in force.

#include <string>

#include "ui/event_log.h"
#include "ui/text.h"

namespace korvex {

template <class... Args>
void SayFormatted(EventLog& log, Text text, bool toList, bool showBox, Args... args) {
    const std::string cz = Format(text.cz, args...);
    const std::string en = Format(text.en, args...);
    log.say({cz.c_str(), en.c_str()}, toList, showBox);
}

}  // namespace korvex
