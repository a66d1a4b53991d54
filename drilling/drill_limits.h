#pragma once
// The fixed limits every drill reader shares: the drill table and a word,
// past which a file is refused.

#include "log/text.h"

namespace korvex {

extern const Text kDrillWordTooLong;
extern const Text kDrillTooManyDrills;

}  // namespace korvex
