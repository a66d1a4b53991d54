#pragma once
// The drilling job of one drill: every hole of that drill in file order, then
// back to the start. The tool is expected over the hole field's origin; the
// job first rises to `safeHeight` above the material (the relative origin's
// surface; without one the tool is taken to stand at that height). Per hole
// it travels, descends to the surface, drills down and up (with the dwell,
// spindle on) and lifts again, each Z move aimed at its level below the
// surface.

#include "drilling/drill_set.h"

namespace korvex {

struct Machine;

// Appends the commands for drill `drill` (an index into the drill table).
// 1 when appended; 0, after a box, when `drill` is not a drill of the set or
// the buffer has no more than 6 free entries per hole of the drill, or the
// plunge and cutting speeds are both 0, or safe height or the depth does
// not fit the Z travel; nothing is appended then. Window
// thread.
int drillHoles(Machine& m, const DrillSet& set, int drill);

}  // namespace korvex
