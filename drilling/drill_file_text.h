#pragma once
// What every drill reader shares before it looks at a single word: the
// file's whole text, and the fixed limits of the drill table and of a word,
// past which a file is refused.

#include <optional>
#include <string>

#include "ui/text.h"

namespace korvex {

// The whole file, or nothing when it cannot be opened or read (a folder, a
// file larger than memory).
std::optional<std::string> ReadDrillFileText(const std::string& path);

extern const Text kDrillWordTooLong;
extern const Text kDrillTooManyDrills;

}  // namespace korvex
