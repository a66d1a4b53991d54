#pragma once
// A G-code program following the probed surface (SurfaceBend).

#include "gcode/gcode_program.h"
#include "motion/surface_bend.h"

namespace korvex {

// The rectangle the program's feed moves reach (steps from the relative
// origin, both ends of each); the start point when there is none.
struct GcodeArea {
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
GcodeArea FeedArea(const GcodeProgram& program);

// The program with its moves bent: feed moves follow the surface, split
// where long (each piece keeps the move's line, its time shared out, its
// dwell and stop on the last piece); rapids are raised where the surface
// stands higher. Pauses stay after the same moves.
GcodeProgram BendProgram(const GcodeProgram& program, const SurfaceBend& bend);

}  // namespace korvex
