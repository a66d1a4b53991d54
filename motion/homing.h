#pragma once
// Zeroing the axes on their minimum limit switches: the moves of the
// null-position commands.

#include "motion/machine.h"

namespace korvex {

// One axis (0 X, 1 Y, 2 Z): its executed position becomes the whole travel
// and a ramped switch-checking move of the whole travel towards the switch
// is queued. Window thread.
void HomeAxis(Machine& m, int axis);

// Z first, then X and Y together at the slower of their rates.
void HomeAllAxes(Machine& m);

}  // namespace korvex
